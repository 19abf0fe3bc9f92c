#include "engine/SiblingRows.h"

#include "engine/DateTime.h"
#include "engine/Failure.h"
#include "engine/Numbers.h"

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
        const int year = valueOf(parseYear(row.year));
        if (year < subjectYear)
            ++summary.birthOrder;
        else if (year == subjectYear) {
            const int month = valueOf(parseInteger(row.month));
            if (month == subjectMonth)
                ++summary.sameMonthCount;
            else if (month < subjectMonth)
                ++summary.birthOrder;
        }
    }
    return summary;
}
