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

std::optional<int> parseYear(const QString &text)
{
    const std::optional<int> year = parseInteger(text);
    if (!year || *year < 0)
        return std::nullopt;
    const qsizetype digits = std::count_if(text.begin(), text.end(), [](QChar c) { return c.isDigit(); });
    if (digits > 2)
        return year;
    const int thisYear = fromDateTime(now()).date().year();
    const int full = thisYear / 100 * 100 + *year;
    return full > thisYear ? full - 100 : full;
}

std::optional<double> parseDayMonthYear(const QString &text)
{
    // Three parts around two dots, read where they stand without a copy.
    const qsizetype firstDot = text.indexOf(u'.');
    const qsizetype secondDot = firstDot < 0 ? -1 : text.indexOf(u'.', firstDot + 1);
    if (secondDot < 0 || text.indexOf(u'.', secondDot + 1) >= 0)
        return std::nullopt;
    const auto part = [&](qsizetype from, qsizetype to) { return QString::fromRawData(text.constData() + from, to - from); };
    const QString yearText = part(secondDot + 1, text.size());
    if (yearText.trimmed().size() > 4)
        return std::nullopt;
    const std::optional<int> day = parseInteger(part(0, firstDot));
    const std::optional<int> month = parseInteger(part(firstDot + 1, secondDot));
    const std::optional<int> year = parseYear(yearText);
    if (!day || !month || !year || *year < 1)
        return std::nullopt;
    const QDate date(*year, *month, *day);
    if (!date.isValid())
        return std::nullopt;
    return double(dayZero.daysTo(date));
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
