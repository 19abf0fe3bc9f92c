#pragma once

#include <QStringList>

struct InputFiles
{
    QStringList files;   // each file once, in the order of the arguments
    QStringList missing; // arguments that name neither a file nor a folder
};

// The results files that the arguments name: a file as it is, a folder
// searched with its subfolders for *_N.txt, in name order.
InputFiles findResultsFiles(const QStringList &arguments);
