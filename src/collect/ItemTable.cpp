#include "collect/ItemTable.h"

#include "collect/ItemChecks.h"
#include "engine/ItemFile.h"
#include "engine/ItemRecount.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

namespace {

// The size of the largest item file worth reading: a run with tens of
// thousands of calculator trials stays far below it.
constexpr qint64 largestItemFile = 256 * 1024 * 1024;

// What ties a results file and its item file: the folder, the stem and the
// number of a copy. "Ким_Ян_1 (1).txt", "Ким_Ян_1 (1).items.tsv" and
// "Ким_Ян_1.items (1).tsv" all give "…/Ким_Ян_1 (1)".
QString pairKey(const QString &path)
{
    static const QRegularExpression parts(QStringLiteral("^(.*?)( ?\\(([0-9]+)\\))?(\\.items( ?\\(([0-9]+)\\))?\\.tsv|\\.txt)$"),
                                          QRegularExpression::CaseInsensitiveOption);
    const QFileInfo info(path);
    const auto match = parts.match(info.fileName());
    if (!match.hasMatch())
        return {};
    const QString copy = match.captured(3).isEmpty() ? match.captured(6) : match.captured(3);
    const QString folder = QFileInfo(info.absolutePath()).canonicalFilePath();
    return folder + u'/' + match.captured(1) + (copy.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(copy));
}

QByteArray fileBytes(const QString &path, qint64 largest, QString &why)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        why = QStringLiteral("cannot be read (%1)").arg(file.errorString());
    else if (file.size() > largest)
        why = QStringLiteral("is too large to be an item file");
    else
        return file.readAll();
    return {};
}

// The sidecar of an item file: "….items.tsv" gives "….items.json", "….items (1).tsv" "….items (1).json".
QString sidecarPath(const QString &itemPath)
{
    return itemPath.first(itemPath.size() - 4) + QStringLiteral(".json");
}

} // namespace

PairedItems pairItemFiles(const QList<ResultsRow> &results, const QStringList &itemFiles, bool strict,
                          const Collector::Report &report)
{
    QHash<QString, QString> found; // pair key → item file as found
    for (const QString &path : itemFiles)
        found.insert(pairKey(path), path);

    PairedItems paired;
    QList<const ResultsRow *> without;
    for (const ResultsRow &row : results) {
        const QString own = found.take(pairKey(row.file));
        if (own.isEmpty()) {
            without << &row;
            continue;
        }
        ++paired.read;
        QString why;
        const QByteArray bytes = fileBytes(own, largestItemFile, why);
        const ReadItems read = why.isEmpty() ? readItemFile(bytes) : ReadItems{{}, why};
        if (!read.problem.isEmpty()) {
            report({own, 0, read.problem + QStringLiteral("; left out of the item table"), {}, {}, true});
            ++paired.leftOut;
            continue;
        }
        const bool previous = read.form == ItemFileForm::Previous;
        QFile sidecar(sidecarPath(own));
        const QByteArray sidecarBytes = sidecar.open(QIODevice::ReadOnly) ? sidecar.readAll() : QByteArray();
        QFile resultsFile(row.file);
        const QByteArray resultsBytes = resultsFile.open(QIODevice::ReadOnly) ? resultsFile.readAll() : QByteArray();
        QList<Problem> problems = sidecarProblems(own, sidecar.fileName(), sidecarBytes, resultsBytes, read.rows, previous)
                                  + itemRowProblems(own, read.rows, previous, row.values);
        for (const SummaryMismatch &mismatch : summaryMismatches(read.rows, row.values))
            problems.append({row.file, mismatch.line,
                             QStringLiteral("%1 is %2 here, %3 by the item file %4")
                                 .arg(mismatch.field, mismatch.fromSummary)
                                 .arg(mismatch.fromItems)
                                 .arg(own),
                             mismatch.field, mismatch.fromSummary});
        for (const Problem &problem : problems)
            report(problem);
        if (strict && !problems.isEmpty()) {
            report({own, 0, QStringLiteral("left out of the item table with its results file (--strict)"), {}, {}, true});
            report({row.file, 0, QStringLiteral("left out of the table with its item file (--strict)"), {}, {}, true});
            paired.resultsLeftOut << row.file;
            ++paired.leftOut;
            continue;
        }
        for (const Problem &note : resumptionNotes(own, read.rows))
            report(note);
        paired.cellsOfFile.insert(row.file, read.rows);
    }

    for (const QString &path : std::as_const(found)) {
        report({path, 0, QStringLiteral("has no results file in the table beside it; left out of the item table"), {}, {},
                true});
        ++paired.read;
        ++paired.leftOut;
    }
    if (paired.read > 0)
        for (const ResultsRow *row : without)
            report({row->file, 0,
                    QStringLiteral("has no item file beside it (%1), though other runs of the study have one")
                        .arg(QFileInfo(itemFilePath(row->file)).fileName()),
                    {}, {}});
    return paired;
}

ItemCollection itemCollection(const QList<ResultsRow> &results, PairedItems paired)
{
    ItemCollection items;
    items.read = paired.read;
    items.leftOut = paired.leftOut;
    for (const ResultsRow &row : results)
        if (const auto cells = paired.cellsOfFile.find(row.file); cells != paired.cellsOfFile.end())
            items.runs.append({row.subject, row.run, resumptionCount(*cells), std::move(*cells)});
    return items;
}

QStringList longTableColumns()
{
    return QStringList{QStringLiteral("subject"), QStringLiteral("run"), QStringLiteral("resumed")} + itemColumnNames();
}

QByteArray longItemTable(const ItemCollection &items, CsvStyle style)
{
    CsvWriter csv(style);
    csv.record(longTableColumns());
    for (const RunItems &run : items.runs) {
        for (const QStringList &row : run.rows) {
            csv.field(run.subject);
            csv.field(QString::number(run.run));
            csv.field(QString::number(run.resumed));
            for (int column = 0; column < itemColumnCount; ++column) {
                const bool time = column == OnsetColumn || column == TimeElapsedColumn || column == ResponseTimeColumn
                                  || column == ResponseElapsedColumn;
                csv.field(time ? QString(row[column]).replace(u'.', csv.decimalSeparator()) : row[column]);
            }
            csv.endRecord();
        }
    }
    return csv.bytes();
}
