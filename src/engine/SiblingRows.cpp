#include "engine/SiblingRows.h"

#include "engine/DateTime.h"
#include "engine/Failure.h"

QString siblingSexWord(SiblingSex sex)
{
    switch (sex) {
    case SiblingSex::Sister:
        return QStringLiteral("сестра");
    case SiblingSex::Brother:
        return QStringLiteral("брат");
    case SiblingSex::None:
        break;
    }
    return {};
}

QString siblingDescription(const SiblingRow &row)
{
    const QString word = siblingSexWord(row.sex);
    if (row.sex == SiblingSex::None || row.year.isEmpty())
        return word;
    return word + QStringLiteral(", день: ") + row.day + QStringLiteral(", месяц: ") + row.month
        + QStringLiteral(", год: ") + row.year;
}

SiblingSummary summarizeSiblings(const SiblingRows &rows, int subjectYear, int subjectMonth)
{
    SiblingSummary summary;
    for (int n = 0; n < siblingRowCount; ++n) {
        const SiblingRow &row = rows[n];
        summary.descriptions[n] = siblingDescription(row);
        if (row.sex == SiblingSex::None)
            continue;
        if (row.year.isEmpty()) {
            ++summary.withoutYearCount;
            continue;
        }
        ++summary.withYearCount;
        // The day and month, written into the description, are typed as the
        // subject's are; only the month is compared, in the subject's year.
        const int year = valueOf(parseYear(row.year));
        for (const QString *part : {&row.day, &row.month})
            if (!part->isEmpty())
                valueOf(parseDatePart(*part, 2));
        if (year < subjectYear)
            ++summary.birthOrder;
        else if (year == subjectYear) {
            const int month = valueOf(parseDatePart(row.month, 2));
            if (month == subjectMonth)
                ++summary.sameMonthCount;
            else if (month < subjectMonth)
                ++summary.birthOrder;
        }
    }
    return summary;
}
