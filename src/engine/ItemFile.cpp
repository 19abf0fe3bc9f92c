#include "engine/ItemFile.h"

#include "engine/ItemColumns.h"
#include "engine/ItemIds.h"
#include "engine/ItemSidecar.h"
#include "engine/OutputFile.h"
#include "engine/Version.h"

#include <QFile>
#include <QFileInfo>
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

QString code(const std::optional<bool> &value)
{
    return value ? QString::number(int(*value)) : missingValue;
}

QString count(const std::optional<int> &value)
{
    return value ? QString::number(*value) : missingValue;
}

QString kindText(RowKind kind)
{
    switch (kind) {
    case RowKind::Item:
        return QStringLiteral("item");
    case RowKind::Action:
        return QStringLiteral("action");
    case RowKind::Event:
        return QStringLiteral("event");
    }
    return {};
}

// The pattern each column's cells follow; a text column takes any text.
const QRegularExpression &patternOf(int column)
{
    static const QRegularExpression anything(QStringLiteral("^.+$"));
    static const QRegularExpression whole(QStringLiteral("^[0-9]+$"));
    static const QRegularExpression wholeOrMissing(QStringLiteral("^([0-9]+|n/a)$"));
    static const QRegularExpression time(QStringLiteral("^([0-9]+\\.[0-9]{3}|n/a)$"));
    static const QRegularExpression flag(QStringLiteral("^(0|1|n/a)$"));
    static const QRegularExpression kind(QStringLiteral("^(item|action|event)$"));
    static const QRegularExpression ended(QStringLiteral("^(response|empty|timeout|n/a)$"));
    static const QRegularExpression session(
        QStringLiteral("^[0-9a-f]{8}-[0-9a-f]{4}-[0-9a-f]{4}-[0-9a-f]{4}-[0-9a-f]{12}$"));
    switch (column) {
    case SessionColumn:
        return session;
    case TrialIndexColumn:
    case TrialColumn:
        return whole;
    case KindColumn:
        return kind;
    case CorrectColumn:
    case InForceColumn:
        return flag;
    case OnsetColumn:
    case TimeElapsedColumn:
    case ResponseTimeColumn:
    case ResponseElapsedColumn:
        return time;
    case ChangesColumn:
    case KeystrokesColumn:
        return wholeOrMissing;
    case EndedOnColumn:
        return ended;
    default:
        return anything;
    }
}

// Where each previous column goes in the current order.
constexpr ItemColumn previousColumns[] = {SessionColumn, BatteryVersionColumn, TaskColumn, TrialColumn,
                                          ItemIdColumn, StimulusColumn, ResponseColumn, CorrectResponseColumn,
                                          CorrectColumn, OnsetColumn, ResponseTimeColumn, ChangesColumn,
                                          EndedOnColumn};

// A row of the previous form in the current order; the rows of presses
// were the calculator's and the rule window's.
QStringList currentFromPrevious(const QStringList &cells, int trialIndex)
{
    QStringList row(itemColumnCount, missingValue);
    for (int i = 0; i < int(std::size(previousColumns)); ++i)
        row[previousColumns[i]] = cells[i];
    row[TrialIndexColumn] = QString::number(trialIndex);
    const bool press = row[TaskColumn] == task::calculator || row[TaskColumn] == task::rules;
    row[KindColumn] = press ? QStringLiteral("action") : QStringLiteral("item");
    return row;
}

} // namespace

const QStringList &itemColumnNames()
{
    static const QStringList names = [] {
        QStringList all;
        for (const ItemColumnMeaning &column : itemFileColumns())
            all << column.name;
        return all;
    }();
    return names;
}

const QStringList &previousItemColumnNames()
{
    static const QStringList names = [] {
        QStringList all;
        for (const ItemColumn column : previousColumns)
            all << itemColumnNames()[column];
        return all;
    }();
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
                             QString::number(row.trialIndex),
                             kindText(row.kind),
                             row.task,
                             QString::number(row.trial),
                             row.item,
                             cell(row.stimulus),
                             cell(row.response),
                             cell(row.recalled),
                             cell(row.correctResponse),
                             code(row.correct),
                             code(row.inForce),
                             seconds(row.onset),
                             seconds(row.timeElapsed),
                             seconds(row.responseTime),
                             seconds(row.responseElapsed),
                             count(row.changes),
                             count(row.keystrokes),
                             row.endedOn ? endedOnText(*row.endedOn) : missingValue};
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
    const QString items = itemFilePath(resultsPath);
    const QString sidecar = itemSidecarPath(resultsPath);
    const QByteArray sidecarBytes =
        itemSidecar(log.session(), record, QFileInfo(resultsPath).fileName(), resultsFileContent(record));
    if (const std::optional<QString> why = writeWholeFile(items, itemFileContent(itemCells(log.session(), itemRows(log, record)))))
        return why;
    if (const std::optional<QString> why = writeWholeFile(sidecar, sidecarBytes)) {
        QFile::remove(items); // both or neither
        return why;
    }
    return std::nullopt;
}

WriteBeside itemFilesBeside(const ItemLog &log, const RunRecord &record)
{
    return [&log, &record](const QString &resultsPath) { return writeItemFile(resultsPath, log, record); };
}

ReadItems readItemFile(const QByteArray &bytes)
{
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    QString text = utf8(bytes);
    if (utf8.hasError())
        return {{}, QStringLiteral("is not UTF-8")};
    if (text.startsWith(QChar::ByteOrderMark))
        text.remove(0, 1);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    if (text.contains(u'\r'))
        return {{}, QStringLiteral("has a line that ends in CR alone")};
    QStringList lines = text.split(u'\n');
    if (lines.constLast().isEmpty())
        lines.removeLast();
    ReadItems read;
    const QStringList header = lines.isEmpty() ? QStringList() : lines[0].split(u'\t');
    if (header == previousItemColumnNames())
        read.form = ItemFileForm::Previous;
    else if (header != itemColumnNames())
        return {{}, QStringLiteral("has not the header of an item file")};
    const int columns = int(header.size());

    for (qsizetype i = 1; i < lines.size(); ++i) {
        QStringList cells = lines[i].split(u'\t');
        const QString where = QStringLiteral("line %1: ").arg(i + 1);
        if (cells.size() != columns)
            return {{}, where + QStringLiteral("%1 cells, not %2").arg(cells.size()).arg(columns)};
        if (read.form == ItemFileForm::Previous)
            cells = currentFromPrevious(cells, int(i));
        for (int column = 0; column < itemColumnCount; ++column)
            if (!patternOf(column).match(cells[column]).hasMatch())
                return {{},
                        where + QStringLiteral("%1 cannot be \"%2\"").arg(itemColumnNames()[column], cells[column])};
        read.rows << cells;
    }
    return read;
}
