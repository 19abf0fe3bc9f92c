// The date reader on any text, on three days of the clock around a change of
// century: a date it reads has the typed day, month and year (a two-digit
// year within the last hundred years) and reads the same from its own
// dd.MM.yyyy. A birth date is that date, when it lies in the last 120 years.
// The collector reads every date the battery reads as the same date, and
// the date it reads from any text has the day and month written.

#include "Property.h"
#include "engine/DateTime.h"

#include <QStringList>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstdint>

namespace {

void checkRead(const QString &text, int thisYear)
{
    const auto value = parseDayMonthYear(text);
    if (!value)
        return;
    require(*value == std::trunc(*value), "a date has no time of day");
    const QDate date = fromDateTime(*value).date();
    const QStringList typed = text.split(u'.');
    require(typed.size() == 3, "a date is typed in three parts");
    require(date.day() == typed[0].trimmed().toInt(), "a date has the typed day");
    require(date.month() == typed[1].trimmed().toInt(), "a date has the typed month");
    require(!text.contains(u'+') && !text.contains(u'-'), "a date typed has no sign");
    // A year of one or two digits is a two-digit year.
    const QString year = typed[2].trimmed();
    if (std::count_if(year.begin(), year.end(), [](QChar c) { return c.isDigit(); }) > 2) {
        require(date.year() == year.toInt(), "a date has the typed year");
    } else {
        require(date.year() % 100 == year.toInt(), "a date ends in the typed two digits");
        require(date.year() <= thisYear && date.year() > thisYear - 100, "a two-digit year lies in the last hundred years");
    }
    require(parseDayMonthYear(date.toString(QStringLiteral("dd.MM.yyyy"))) == value, "a date reads back");
}

// Each part, around its blanks and sign, as an earlier battery typed it.
int writtenNumber(const QString &part)
{
    QString digits = part.trimmed();
    if (digits.startsWith(u'+') || digits.startsWith(u'-'))
        digits.remove(0, 1);
    return (part.trimmed().startsWith(u'-') ? -1 : 1) * digits.toInt();
}

void checkWritten(const QString &text)
{
    const auto written = parseWrittenDate(text);
    if (const auto typed = parseDayMonthYear(text))
        require(written == typed, "the collector reads a date the battery read as that date");
    if (!written)
        return;
    const QDate date = fromDateTime(*written).date();
    const QStringList parts = text.split(u'.');
    require(parts.size() == 3, "a written date has three parts");
    require(date.day() == writtenNumber(parts[0]), "a written date has the written day");
    require(date.month() == writtenNumber(parts[1]), "a written date has the written month");
    require(date.year() % 100 == std::abs(writtenNumber(parts[2])) % 100, "a written date ends in the written year's digits");
}

void checkBirthDate(const QString &text, const QDate &today)
{
    const auto birth = parseBirthDate(text, toDateTime(QDateTime(today, QTime(12, 0))));
    if (!birth)
        return;
    require(birth == parseDayMonthYear(text), "a birth date is the date typed");
    const QDate date = fromDateTime(*birth).date();
    require(date <= today && date >= today.addYears(-120), "a birth date lies in the last 120 years");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    for (const QDateTime moment : {QDateTime(QDate(2025, 6, 15), QTime(12, 0)), QDateTime(QDate(2099, 12, 31), QTime(23, 59, 59)),
                                   QDateTime(QDate(2100, 1, 1), QTime(0, 0))}) {
        setClock([moment] { return moment; });
        checkRead(text, moment.date().year());
        checkWritten(text);
        checkBirthDate(text, moment.date());
    }
    return 0;
}
