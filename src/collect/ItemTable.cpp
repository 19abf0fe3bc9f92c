#include "collect/ItemTable.h"

#include "engine/ItemFile.h"
#include "engine/ItemRecount.h"

#include <QFile>
#include <QFileInfo>

namespace {

// The size of the largest item file worth reading: a run with tens of
// thousands of calculator trials stays far below it.
constexpr qint64 largestItemFile = 256 * 1024 * 1024;

QString canonical(const QString &path)
{
    return QFileInfo(path).canonicalFilePath();
}

std::optional<QList<QStringList>> readItems(const QString &path, const Collector::Report &report)
{
    QFile file(path);
    ReadItems read;
    if (!file.open(QIODevice::ReadOnly))
        read.problem = QStringLiteral("cannot be read (%1)").arg(file.errorString());
    else if (file.size() > largestItemFile)
        read.problem = QStringLiteral("is too large to be an item file");
    else
        read = readItemFile(file.readAll());
    if (!read.problem.isEmpty()) {
        report({path, 0, read.problem + QStringLiteral("; left out of the item table"), {}, {}, true});
        return std::nullopt;
    }
    return read.rows;
}

} // namespace

ItemCollection collectItems(const QList<ResultsRow> &results, const QStringList &itemFiles,
                            const Collector::Report &report)
{
    QHash<QString, QString> found; // canonical path → path as found
    for (const QString &path : itemFiles)
        found.insert(canonical(path), path);

    ItemCollection items;
    QList<const ResultsRow *> without;
    for (qsizetype i = 0; i < results.size(); ++i) {
        const ResultsRow &row = results[i];
        const QString own = itemFilePath(row.file);
        const QString key = canonical(own);
        if (key.isEmpty() || !found.contains(key)) {
            without << &row;
            continue;
        }
        found.remove(key);
        const std::optional<QList<QStringList>> cells = readItems(own, report);
        if (!cells) {
            ++items.leftOut;
            continue;
        }
        for (const SummaryMismatch &mismatch : summaryMismatches(*cells, row.values))
            report({row.file, mismatch.line,
                    QStringLiteral("%1 is %2 here, %3 by the item file %4")
                        .arg(mismatch.field, mismatch.fromSummary)
                        .arg(mismatch.fromItems)
                        .arg(own),
                    mismatch.field, mismatch.fromSummary});
        items.runs.append({row.subject, row.run, *cells});
    }

    for (const QString &path : std::as_const(found)) {
        report({path, 0, QStringLiteral("has no results file in the table beside it; left out of the item table"), {}, {},
                true});
        ++items.leftOut;
    }
    if (!items.runs.isEmpty() || items.leftOut > 0)
        for (const ResultsRow *row : without)
            report({row->file, 0,
                    QStringLiteral("has no item file beside it (%1), though other runs of the study have one")
                        .arg(QFileInfo(itemFilePath(row->file)).fileName()),
                    {}, {}});
    return items;
}

QStringList longTableColumns()
{
    return QStringList{QStringLiteral("subject"), QStringLiteral("run")} + itemColumnNames();
}

QByteArray longItemTable(const ItemCollection &items, CsvStyle style)
{
    CsvWriter csv(style);
    csv.record(longTableColumns());
    for (const RunItems &run : items.runs) {
        for (const QStringList &row : run.rows) {
            csv.field(run.subject);
            csv.field(QString::number(run.run));
            for (int column = 0; column < itemColumnCount; ++column) {
                const bool time = column == OnsetColumn || column == ResponseTimeColumn;
                csv.field(time ? QString(row[column]).replace(u'.', csv.decimalSeparator()) : row[column]);
            }
            csv.endRecord();
        }
    }
    return csv.bytes();
}
