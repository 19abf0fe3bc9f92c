#include "collect/CsvTable.h"

#include "engine/FieldChecks.h"
#include "engine/ResultLines.h"

namespace {

QString cellText(int index, const QString &value, QChar decimalSeparator)
{
    if (resultLines()[index].rule.kind != FieldKind::Decimal || !isDecimalText(value))
        return value;
    QString number = value;
    for (QChar &c : number)
        if (c == u',' || c == u'.')
            c = decimalSeparator;
    return number;
}

// The lines that name the subject.
bool namesSubject(const QString &field)
{
    return field == u"InfoSurname" || field == u"InfoName" || field == u"FinalContact";
}

} // namespace

QList<TableColumn> tableColumns(bool pseudonymised)
{
    QList<TableColumn> columns;
    if (!pseudonymised)
        columns.append({TableColumn::File, 0, QStringLiteral("file")});
    columns.append({TableColumn::Subject, 0, QStringLiteral("subject")});
    for (int i = 0; i < resultsLineCount; ++i)
        if (!pseudonymised || !namesSubject(resultLines()[i].field))
            columns.append({TableColumn::Line, i + 1, resultLines()[i].field});
    return columns;
}

QByteArray csvTable(const QList<ResultsRow> &rows, const QList<TableColumn> &columns, CsvStyle style)
{
    CsvWriter csv(style, (rows.size() + 1) * 1024);
    for (const TableColumn &column : columns)
        csv.field(column.name);
    csv.endRecord();

    for (const ResultsRow &row : rows) {
        for (const TableColumn &column : columns) {
            switch (column.source) {
            case TableColumn::File:
                csv.field(row.file);
                break;
            case TableColumn::Subject:
                csv.field(row.subject);
                break;
            case TableColumn::Line:
                csv.field(cellText(column.line - 1, row.values[column.line - 1], csv.decimalSeparator()));
                break;
            }
        }
        csv.endRecord();
    }
    return csv.bytes();
}
