#include "collect/CsvTable.h"

#include "collect/InParallel.h"
#include "engine/FieldChecks.h"
#include "engine/ResultLines.h"

#include <span>

namespace {

QString cellText(const ResultLine &line, const QString &value, QChar decimalSeparator)
{
    if (line.rule.kind != FieldKind::Decimal || !isDecimalText(value))
        return value;
    QString number = value;
    for (QChar &c : number)
        if (c == u',' || c == u'.')
            c = decimalSeparator;
    return number;
}

bool leftOut(Disclosure disclosure, Privacy privacy)
{
    switch (disclosure) {
    case Disclosure::None:
        return false;
    case Disclosure::Name:
    case Disclosure::Contact:
        return privacy != Privacy::Named;
    case Disclosure::BirthDate:
    case Disclosure::Context:
    case Disclosure::FreeText:
        return privacy == Privacy::Deidentified;
    }
    return true;
}

// The records of the rows, without the header.
QByteArray csvRecords(std::span<const ResultsRow> rows, const QList<TableColumn> &columns, CsvStyle style)
{
    CsvWriter csv(style, qsizetype(rows.size()) * 1024, CsvWriter::Continuation);
    const auto &described = resultLines();
    for (const ResultsRow &row : rows) {
        for (const TableColumn &column : columns) {
            switch (column.source) {
            case TableColumn::File:
                csv.field(row.file);
                break;
            case TableColumn::Subject:
                csv.field(row.subject);
                break;
            case TableColumn::Run:
                csv.field(QString::number(row.run));
                break;
            case TableColumn::Line:
                csv.field(cellText(described[column.line - 1], row.values[column.line - 1], csv.decimalSeparator()));
                break;
            }
        }
        csv.endRecord();
    }
    return csv.bytes();
}

} // namespace

QList<TableColumn> tableColumns(Privacy privacy)
{
    QList<TableColumn> columns;
    if (privacy == Privacy::Named)
        columns.append({TableColumn::File, 0, QStringLiteral("file")});
    columns.append({TableColumn::Subject, 0, QStringLiteral("subject")});
    columns.append({TableColumn::Run, 0, QStringLiteral("run")});
    for (int i = 0; i < resultsLineCount; ++i)
        if (!leftOut(resultLines()[i].disclosure, privacy))
            columns.append({TableColumn::Line, i + 1, resultLines()[i].field});
    return columns;
}

QByteArray csvTable(const QList<ResultsRow> &rows, const QList<TableColumn> &columns, CsvStyle style)
{
    CsvWriter header(style);
    for (const TableColumn &column : columns)
        header.field(column.name);
    header.endRecord();

    // The rows in one part per worker, each part written on a thread of its own.
    const qsizetype partCount = std::min(workerCount(), rows.size());
    QList<QByteArray> parts(partCount);
    inParallel(partCount, [&](qsizetype part) {
        const qsizetype first = rows.size() * part / partCount;
        const qsizetype end = rows.size() * (part + 1) / partCount;
        parts[part] = csvRecords(std::span(rows.constData() + first, rows.constData() + end), columns, style);
    });
    QByteArray table = header.bytes();
    for (const QByteArray &part : parts)
        table += part;
    return table;
}
