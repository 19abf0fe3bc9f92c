#include "collect/CsvTable.h"

#include "engine/FieldChecks.h"
#include "engine/ResultLines.h"

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
    CsvWriter csv(style, (rows.size() + 1) * 1024);
    for (const TableColumn &column : columns)
        csv.field(column.name);
    csv.endRecord();

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
