#pragma once

#include <QCommandLineOption>
#include <QList>

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
                                                  "Data Package). The folder is replaced whole; it may hold no "
                                                  "other file."),
                                   QStringLiteral("dir")};

    QList<QCommandLineOption> all() const { return {items, dataPackage}; }
};
