#pragma once

#include "collect/Collector.h"
#include "collect/CsvText.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QStringList>

// The item rows of one run in the table, with its subject's code and the
// run's number among that subject's runs.
struct RunItems
{
    QString subject;
    int run = 0;
    int resumed = 0;         // times the run was taken up again after an interruption
    QList<QStringList> rows; // the cells of its item file, in the current column order
};

struct ItemCollection
{
    QList<RunItems> runs;
    int read = 0;    // item files read
    int leftOut = 0; // item files not in the item table
};

// The item files paired with the results rows and read: the cells of each
// row's item file by the row's file, and the results files that --strict
// leaves out with their item file.
struct PairedItems
{
    QHash<QString, QList<QStringList>> cellsOfFile;
    QStringList resultsLeftOut;
    int read = 0;
    int leftOut = 0;
};

// Pairs each results file in the table with the item file of its stem
// (surname_name_N.items.tsv beside it; a mail program's or browser's copy
// "… (1).items.tsv" or "….items (1).tsv" with the copy "… (1).txt"), reads
// it and checks it against its results file and its sidecar. Reported: an
// item file whose results file is not in the table, an item file that
// cannot be read or is no item file, a results file without one while other
// runs have theirs, every problem of the rows (with its line) and each
// summary line that they contradict. With strict, a pair with a problem is
// left out, both files. A run taken up again after an interruption is
// reported too, and is no problem for strict.
PairedItems pairItemFiles(const QList<ResultsRow> &results, const QStringList &itemFiles, bool strict,
                          const Collector::Report &report);

// The runs of the item table, in the order of the rows in the table.
ItemCollection itemCollection(const QList<ResultsRow> &results, PairedItems paired);

// "subject", "run", "resumed", then the item file's columns.
QStringList longTableColumns();

// One row per item of every run, runs in table order; times in the style's
// decimal separator.
QByteArray longItemTable(const ItemCollection &items, CsvStyle style);
