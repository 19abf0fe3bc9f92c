#pragma once

#include "collect/Collector.h"
#include "collect/CsvTable.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <functional>

// The collector's outputs of item data: the long item table and the data package.
struct ItemOptions
{
    QCommandLineOption items{QStringLiteral("items"),
                             QStringLiteral("Write one long table of every item file found beside the results "
                                            "files (surname_name_N.items.tsv) to <file>: the subject's code and "
                                            "run, then the item file's columns. Item rows that contradict their "
                                            "results file are reported."),
                             QStringLiteral("file")};
    QCommandLineOption dataPackage{QStringLiteral("datapackage"),
                                   QStringLiteral("Write the table, the item table (if any item files) and the "
                                                  "codebook into the folder <dir>, always with commas and decimal "
                                                  "points, with datapackage.json describing them (a Frictionless "
                                                  "Data Package)."),
                                   QStringLiteral("dir")};

    QList<QCommandLineOption> all() const { return {items, dataPackage}; }
    bool wanted(const QCommandLineParser &parser) const { return parser.isSet(items) || parser.isSet(dataPackage); }
};

// How the outputs reach the user: a file written whole, or why it could not
// be (false then); a report on a file; a message.
struct ItemOutputStreams
{
    std::function<bool(const QString &path, const QByteArray &bytes)> write;
    Collector::Report report;
    std::function<void(const QString &)> say;
};

// Pairs the accepted results with their item files, reports what does not
// fit, and writes what the options ask for; no item table without rows. The
// number of item files left out of the item table.
int writeItemOutputs(const QCommandLineParser &parser, const ItemOptions &options, const QList<ResultsRow> &results,
                     const QStringList &itemFiles, const QList<TableColumn> &columns, CsvStyle style,
                     const ItemOutputStreams &streams);
