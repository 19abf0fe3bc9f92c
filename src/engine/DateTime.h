#pragma once

#include <QDateTime>
#include <QString>
#include <functional>
#include <optional>

// A date-time counts days since 30 December 1899 in local time, the time of
// day being the fraction; the difference of two is a duration in days.
double toDateTime(const QDateTime &moment);
QDateTime fromDateTime(double value);

// The current local date and time, from the clock below.
double now();

// Replaces the clock for the rest of the process; an empty function restores
// the system clock.
void setClock(std::function<QDateTime()> clock);

// Texts in the regional formats; a time text shows the time of day.
QString dateText(double value);
QString timeText(double value);

// A duration as H:mm:ss whatever the regional settings, hours not padded;
// whole days are dropped, as in a time of day.
QString durationText(double value);

// A day, month or year as the subject types it: blanks before the digits,
// then one to `digits` decimal digits and nothing after them; no sign.
std::optional<int> parseDatePart(const QString &text, int digits);

// A typed year, a date part of at most four digits; one typed in one or two
// digits is taken within the last hundred years.
std::optional<int> parseYear(const QString &text);

// A calendar date typed as day.month.year, day and month date parts of at
// most two digits and the year as above; nothing when no such date exists.
std::optional<double> parseDayMonthYear(const QString &text);

// A date as any version of the battery wrote it into a results file: what
// parseDayMonthYear takes, or what earlier versions took: blanks of any kind
// around each part of one to four digits, or each part an integer with blanks
// and a sign before it (the year of at most four characters after the blanks
// and not negative).
std::optional<double> parseWrittenDate(const QString &text);

// A birth date as above, taken only when it lies neither after `today` nor
// more than 120 years before it.
std::optional<double> parseBirthDate(const QString &text, double today);

// The calendar year of a date-time.
int yearOf(double value);

// The age at a moment, both as date-time values: whole days since birth, and
// years of 365 days rounded half up.
struct Age
{
    int days = 0;
    double years = 0;
};
Age ageAt(double moment, double birthDate);
// Whole days of age as years of 365 days, rounded half up.
double ageInYears(int days);
