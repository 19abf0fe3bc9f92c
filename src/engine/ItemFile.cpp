#include "engine/ItemFile.h"

#include "engine/OutputFile.h"
#include "engine/Version.h"

#include <QRegularExpression>
#include <QStringDecoder>

namespace {

QString cell(const QString &text)
{
    if (text.isEmpty())
        return missingValue;
    QString single = text;
    for (QChar &c : single)
        if (c == u'\t' || c == u'\n' || c == u'\r')
            c = u' ';
    return single;
}

QString seconds(std::optional<qint64> milliseconds)
{
    if (!milliseconds)
        return missingValue;
    return QStringLiteral("%1.%2").arg(*milliseconds / 1000).arg(*milliseconds % 1000, 3, 10, QLatin1Char('0'));
}

// The pattern each column's cells follow; a text column takes any text.
const QRegularExpression &patternOf(int column)
{
    static const QRegularExpression anything(QStringLiteral("^.+$"));
    static const QRegularExpression whole(QStringLiteral("^[0-9]+$"));
    static const QRegularExpression wholeOrMissing(QStringLiteral("^([0-9]+|n/a)$"));
    static const QRegularExpression time(QStringLiteral("^([0-9]+\\.[0-9]{3}|n/a)$"));
    static const QRegularExpression correct(QStringLiteral("^(0|1|n/a)$"));
    static const QRegularExpression ended(QStringLiteral("^(response|empty|timeout)$"));
    static const QRegularExpression session(
        QStringLiteral("^[0-9a-f]{8}-[0-9a-f]{4}-[0-9a-f]{4}-[0-9a-f]{4}-[0-9a-f]{12}$"));
    switch (column) {
    case SessionColumn:
        return session;
    case TrialColumn:
        return whole;
    case CorrectColumn:
        return correct;
    case OnsetColumn:
    case ResponseTimeColumn:
        return time;
    case ChangesColumn:
        return wholeOrMissing;
    case EndedOnColumn:
        return ended;
    default:
        return anything;
    }
}

} // namespace

const QStringList &itemColumnNames()
{
    static const QStringList names{
        QStringLiteral("session"),  QStringLiteral("battery_version"), QStringLiteral("task"),
        QStringLiteral("trial"),    QStringLiteral("item"),            QStringLiteral("stimulus"),
        QStringLiteral("response"), QStringLiteral("correct_response"), QStringLiteral("correct"),
        QStringLiteral("onset"),    QStringLiteral("response_time"),   QStringLiteral("changes"),
        QStringLiteral("ended_on")};
    return names;
}

QString endedOnText(EndedOn ended)
{
    switch (ended) {
    case EndedOn::Response:
        return QStringLiteral("response");
    case EndedOn::Empty:
        return QStringLiteral("empty");
    case EndedOn::Timeout:
        return QStringLiteral("timeout");
    }
    return {};
}

QList<QStringList> itemCells(const QString &session, const QList<ItemRow> &rows)
{
    QList<QStringList> cells;
    for (const ItemRow &row : rows)
        cells << QStringList{session,
                             QString::fromLatin1(cogbatteryVersion),
                             row.task,
                             QString::number(row.trial),
                             row.item,
                             cell(row.stimulus),
                             cell(row.response),
                             cell(row.correctResponse),
                             row.correct ? QString::number(int(*row.correct)) : missingValue,
                             seconds(row.onset),
                             seconds(row.responseTime),
                             row.changes ? QString::number(*row.changes) : missingValue,
                             endedOnText(row.endedOn)};
    return cells;
}

QByteArray itemFileContent(const QList<QStringList> &cells)
{
    QByteArray bytes = itemColumnNames().join(u'\t').toUtf8() + '\n';
    for (const QStringList &row : cells)
        bytes += row.join(u'\t').toUtf8() + '\n';
    return bytes;
}

std::optional<QString> writeItemFile(const QString &resultsPath, const ItemLog &log, const RunRecord &record)
{
    return writeWholeFile(itemFilePath(resultsPath), itemFileContent(itemCells(log.session(), itemRows(log, record))));
}

SavedResults writeResultsAndItems(const RunRecord &record, const ItemLog &log, const SavedResults &own)
{
    return writeResultsFile(record, own, [&](const QString &path) { return writeItemFile(path, log, record); });
}

ReadItems readItemFile(const QByteArray &bytes)
{
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    const QString text = utf8(bytes);
    if (utf8.hasError())
        return {{}, QStringLiteral("is not UTF-8")};
    if (bytes.startsWith("\xEF\xBB\xBF") || text.contains(u'\r'))
        return {{}, QStringLiteral("is not tab-separated UTF-8 with lines ending in LF alone")};
    QStringList lines = text.split(u'\n');
    if (lines.constLast().isEmpty())
        lines.removeLast();
    if (lines.isEmpty() || lines[0].split(u'\t') != itemColumnNames())
        return {{}, QStringLiteral("has not the header of an item file")};

    ReadItems read;
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QStringList cells = lines[i].split(u'\t');
        const QString where = QStringLiteral("line %1: ").arg(i + 1);
        if (cells.size() != itemColumnCount)
            return {{}, where + QStringLiteral("%1 cells, not %2").arg(cells.size()).arg(int(itemColumnCount))};
        for (int column = 0; column < itemColumnCount; ++column)
            if (!patternOf(column).match(cells[column]).hasMatch())
                return {{},
                        where + QStringLiteral("%1 cannot be \"%2\"").arg(itemColumnNames()[column], cells[column])};
        read.rows << cells;
    }
    return read;
}
