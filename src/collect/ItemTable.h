#pragma once

#include "collect/Collector.h"
#include "collect/CsvText.h"

#include <QByteArray>
#include <QList>
#include <QStringList>

// The item rows of one run in the table, with its subject's code and the
// run's number among that subject's runs.
struct RunItems
{
    QString subject;
    int run = 0;
    QList<QStringList> rows; // the cells of its item file
};

struct ItemCollection
{
    QList<RunItems> runs;
    int leftOut = 0; // item files not in the item table
};

// Pairs each results file in the table with the item file of its stem
// (surname_name_N.items.tsv beside it) and reads it. Reported: an item file
// whose results file is not in the table, an item file that cannot be read
// or is no item file, a results file without one while other runs have
// theirs, and each summary line that the item rows contradict, with both
// figures. Runs are numbered 1, 2, … per subject by the number in the file
// name, then by the name.
ItemCollection collectItems(const QList<ResultsRow> &results, const QStringList &itemFiles,
                            const Collector::Report &report);

// "subject", "run", then the item file's columns.
QStringList longTableColumns();

// One row per item of every run, runs in table order; times in the style's
// decimal separator.
QByteArray longItemTable(const ItemCollection &items, CsvStyle style);
