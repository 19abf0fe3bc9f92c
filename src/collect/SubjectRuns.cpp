#include "collect/SubjectRuns.h"

#include "engine/ResultLines.h"

#include <QDate>
#include <QFileInfo>
#include <QRegularExpression>

namespace {

qlonglong fileNumber(const QString &path)
{
    static const QRegularExpression numbered(QStringLiteral("_([0-9]+)(?: ?\\([0-9]+\\))?\\.txt$"),
                                             QRegularExpression::CaseInsensitiveOption);
    return numbered.match(QFileInfo(path).fileName()).captured(1).toLongLong();
}

// A date as the sending computer's short date format wrote it: year first
// when it has four digits (2026-12-08), month first with slashes unless the
// first number cannot be a month (12/8/2026, 08/12/2026 as 8 December only
// when read so), else day first (08.12.2026, 8-12-26).
std::optional<QDate> regionalDate(const QString &text)
{
    static const QRegularExpression parts(QStringLiteral("^\\s*(\\d{1,4})\\s*([./-])\\s*(\\d{1,2})\\s*[./-]\\s*(\\d{1,4})\\s*(?:г\\.?)?\\s*$"));
    const auto match = parts.match(text);
    if (!match.hasMatch())
        return std::nullopt;
    int first = match.captured(1).toInt();
    int second = match.captured(3).toInt();
    int third = match.captured(4).toInt();
    int year = third;
    int month = second;
    int day = first;
    if (match.captured(1).size() == 4) {
        year = first;
        day = third;
    } else if (match.captured(2) == u"/" && first <= 12) {
        month = first;
        day = second;
    }
    if (year < 100)
        year += 2000;
    const QDate date(year, month, day);
    return date.isValid() ? std::optional(date) : std::nullopt;
}

// Seconds since midnight of a time of day as the sending computer's long
// time format wrote it: 9:05:00, 09:05, 9:05:00 PM.
std::optional<int> regionalTime(const QString &text)
{
    static const QRegularExpression parts(QStringLiteral("^\\s*(\\d{1,2}):(\\d{2})(?::(\\d{2}))?\\s*([AaPp][Mm])?\\s*$"));
    const auto match = parts.match(text);
    if (!match.hasMatch())
        return std::nullopt;
    int hours = match.captured(1).toInt();
    const int minutes = match.captured(2).toInt();
    const int seconds = match.captured(3).toInt();
    if (const QString half = match.captured(4).toUpper(); !half.isEmpty()) {
        if (hours < 1 || hours > 12)
            return std::nullopt;
        hours = hours % 12 + (half == u"PM" ? 12 : 0);
    }
    if (hours > 23 || minutes > 59 || seconds > 59)
        return std::nullopt;
    return hours * 3600 + minutes * 60 + seconds;
}

// The moment a run started, in seconds, from its test date and start time.
std::optional<qint64> startOf(const ResultsRow &row)
{
    static const int dateLine = lineIndex(u"InfoTestDate");
    static const int timeLine = lineIndex(u"InfoStartTime");
    const auto date = regionalDate(row.values[dateLine]);
    const auto time = regionalTime(row.values[timeLine]);
    if (!date || !time)
        return std::nullopt;
    return date->toJulianDay() * 86400 + *time;
}

} // namespace

void numberRuns(QList<ResultsRow> &rows)
{
    QHash<QString, QList<ResultsRow *>> rowsOfSubject;
    for (ResultsRow &row : rows)
        rowsOfSubject[row.subject].append(&row);
    for (QList<ResultsRow *> &runs : rowsOfSubject) {
        if (runs.size() == 1) { // most subjects: no order to find
            runs.front()->run = 1;
            continue;
        }
        QList<std::tuple<qint64, qlonglong, QString, ResultsRow *>> ordered;
        bool everyStartKnown = true;
        for (ResultsRow *row : runs) {
            const auto start = startOf(*row);
            everyStartKnown = everyStartKnown && start;
            ordered.append({start.value_or(0), fileNumber(row->file), row->file, row});
        }
        if (!everyStartKnown) // a start that cannot be read orders nothing
            for (auto &run : ordered)
                std::get<0>(run) = 0;
        std::sort(ordered.begin(), ordered.end());
        int run = 0;
        for (const auto &[start, number, file, row] : ordered)
            row->run = ++run;
    }
}
