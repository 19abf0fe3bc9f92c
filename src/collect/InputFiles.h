#pragma once

#include "collect/Problem.h"

#include <QList>
#include <QStringList>

struct InputFiles
{
    QStringList files;      // each file once, in the order of the arguments
    QStringList itemFiles;  // surname_name_N.items.tsv, read with the results file of their stem
    QList<Problem> skipped; // every other file or folder seen, and why it is not read
    QStringList missing;    // arguments that name nothing
};

// The results files that the arguments name: a regular file as it is, a
// folder searched with its subfolders for surname_name_N.txt and its copies
// "surname_name_N (M).txt", in name order; their item files apart. Hidden entries, links to folders,
// anything but a regular file and names that are not UTF-8 are skipped.
InputFiles findResultsFiles(const QStringList &arguments);
