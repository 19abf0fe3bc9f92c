#pragma once

#include "engine/ResultLines.h"

#include <QByteArray>
#include <QString>
#include <array>
#include <functional>

// The 69 values as texts, in file order; a line break inside a value becomes a blank.
std::array<QString, resultsLineCount> resultsLines(const RunRecord &record);

// surname + "_" + name + "_" + number + ".txt"
QString resultsFileName(const RunRecord &record, int number = 1);

// The file's bytes: Windows-1251, every line ending in CR LF.
QByteArray resultsFileContent(const RunRecord &record);

// Whether a surname and a name can form the results file name: no character
// that a file name may not hold, all encodable in Windows-1251, and a name of
// at most 255 bytes, the item file's too when the study keeps item data.
bool formsFileName(const QString &surname, const QString &name);

// A results file on disk, and how the subject is told where it is.
struct SavedResults
{
    QString path;      // absolute
    QString shownName; // the name alone in the working directory, else the whole path
};

// Writes a run's results file atomically: complete on disk, or not there and
// an earlier file as it was. A run's first save takes the first free name
// surname_name_N.txt (N from 1) in the working directory or, when that cannot
// take the file, in the user's Documents folder (the home folder when there
// is none), so it never replaces a file that it did not write; a later save
// of the same run rewrites `own`, what its first save returned. Throws
// Failure when no place takes the file. `beside`, if given, writes a
// companion file for the results file's path; a place takes the results only
// when it takes the companion too.
using WriteBeside = std::function<bool(const QString &resultsPath)>;
SavedResults writeResultsFile(const RunRecord &record, const SavedResults &own = {}, const WriteBeside &beside = {});
