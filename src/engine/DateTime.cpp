#include "engine/DateTime.h"

#include "engine/Numbers.h"
#include "engine/Regional.h"

#include <QStringList>
#include <algorithm>
#include <cmath>

namespace {

const QDate dayZero(1899, 12, 30);
constexpr double msPerDay = 86400000.0;

std::function<QDateTime()> &clockFunction()
{
    static std::function<QDateTime()> function;
    return function;
}

int wholeMilliseconds(double value)
{
    const double fraction = std::fabs(value - std::trunc(value));
    const auto ms = static_cast<qint64>(std::llround(fraction * msPerDay));
    return static_cast<int>(ms % static_cast<qint64>(msPerDay));
}

// A number typed into a part of a date, and how many digits it was typed
// with: a year of one or two digits is taken within the last hundred years.
struct TypedNumber
{
    int value = 0;
    qsizetype digits = 0;
};

bool isDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

qsizetype digitCount(QStringView text)
{
    return std::count_if(text.begin(), text.end(), isDigit);
}

// Blanks, then one to `digits` digits and nothing after them: how the battery
// reads a part of a date.
std::optional<TypedNumber> typedPart(QStringView text, int digits)
{
    qsizetype start = 0;
    while (start < text.size() && text[start] == u' ')
        ++start;
    const QStringView number = text.sliced(start);
    if (number.isEmpty() || number.size() > digits || digitCount(number) != number.size())
        return std::nullopt;
    return TypedNumber{number.toInt(), number.size()};
}

// How the first release read each part: blanks of any kind around one to
// four digits.
std::optional<TypedNumber> trimmedPart(QStringView text, bool)
{
    const QStringView number = text.trimmed();
    if (number.isEmpty() || number.size() > 4 || digitCount(number) != number.size())
        return std::nullopt;
    return TypedNumber{number.toInt(), number.size()};
}

// How the next version read each part: a 32-bit integer with blanks and a
// sign before it, nothing after; a year of at most four characters after the
// blanks, and not negative.
std::optional<TypedNumber> signedPart(QStringView text, bool isYear)
{
    const QString part = text.toString();
    const std::optional<int> value = parseInteger(part);
    if (!value || (isYear && (*value < 0 || part.trimmed().size() > 4)))
        return std::nullopt;
    return TypedNumber{*value, digitCount(text)};
}

// A year typed in one or two digits, within the last hundred years.
int withCentury(const TypedNumber &year)
{
    if (year.digits > 2)
        return year.value;
    const int thisYear = fromDateTime(now()).date().year();
    const int full = thisYear / 100 * 100 + year.value;
    return full > thisYear ? full - 100 : full;
}

// Day.month.year, each part read by one rule; nothing when no such date exists.
template <typename ReadPart>
std::optional<double> dateOf(QStringView text, ReadPart readPart)
{
    // Three parts around two dots, read where they stand without a copy.
    const qsizetype firstDot = text.indexOf(u'.');
    const qsizetype secondDot = firstDot < 0 ? -1 : text.indexOf(u'.', firstDot + 1);
    if (secondDot < 0 || text.indexOf(u'.', secondDot + 1) >= 0)
        return std::nullopt;
    const std::optional<TypedNumber> day = readPart(text.first(firstDot), false);
    const std::optional<TypedNumber> month = readPart(text.sliced(firstDot + 1, secondDot - firstDot - 1), false);
    const std::optional<TypedNumber> year = readPart(text.sliced(secondDot + 1), true);
    if (!day || !month || !year)
        return std::nullopt;
    const QDate date(withCentury(*year), month->value, day->value);
    if (!date.isValid() || date.year() < 1)
        return std::nullopt;
    return double(dayZero.daysTo(date));
}

} // namespace

double toDateTime(const QDateTime &moment)
{
    return double(dayZero.daysTo(moment.date())) + moment.time().msecsSinceStartOfDay() / msPerDay;
}

QDateTime fromDateTime(double value)
{
    const QDate date = dayZero.addDays(static_cast<qint64>(std::trunc(value)));
    return QDateTime(date, QTime::fromMSecsSinceStartOfDay(wholeMilliseconds(value)));
}

double now()
{
    return toDateTime(clockFunction() ? clockFunction()() : QDateTime::currentDateTime());
}

void setClock(std::function<QDateTime()> function)
{
    clockFunction() = std::move(function);
}

QString dateText(double value)
{
    return fromDateTime(value).date().toString(regional().shortDateFormat);
}

QString timeText(double value)
{
    return QTime::fromMSecsSinceStartOfDay(wholeMilliseconds(value)).toString(regional().longTimeFormat);
}

QString durationText(double value)
{
    return QTime::fromMSecsSinceStartOfDay(wholeMilliseconds(value)).toString(QStringLiteral("H:mm:ss"));
}

std::optional<int> parseDatePart(const QString &text, int digits)
{
    const std::optional<TypedNumber> part = typedPart(text, digits);
    if (!part)
        return std::nullopt;
    return part->value;
}

std::optional<int> parseYear(const QString &text)
{
    const std::optional<TypedNumber> year = typedPart(text, 4);
    if (!year)
        return std::nullopt;
    return withCentury(*year);
}

std::optional<double> parseDayMonthYear(const QString &text)
{
    return dateOf(text, [](QStringView part, bool isYear) { return typedPart(part, isYear ? 4 : 2); });
}

std::optional<double> parseWrittenDate(const QString &text)
{
    // What the battery takes today is a form the signed rule took too.
    if (const std::optional<double> date = dateOf(text, trimmedPart))
        return date;
    return dateOf(text, signedPart);
}

std::optional<double> parseBirthDate(const QString &text, double today)
{
    const std::optional<double> birth = parseDayMonthYear(text);
    const QDate day = fromDateTime(today).date();
    if (!birth || *birth > double(dayZero.daysTo(day)) || *birth < double(dayZero.daysTo(day.addYears(-120))))
        return std::nullopt;
    return birth;
}

int yearOf(double value)
{
    return fromDateTime(value).date().year();
}

Age ageAt(double moment, double birthDate)
{
    Age age;
    age.days = static_cast<int>(std::trunc(std::fabs(moment - birthDate)));
    age.years = ageInYears(age.days);
    return age;
}

double ageInYears(int days)
{
    return roundHalfUp(days / 365.0);
}
