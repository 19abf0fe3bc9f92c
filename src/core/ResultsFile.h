#pragma once

#include "core/RunRecord.h"

#include <QByteArray>
#include <QString>
#include <array>

constexpr int resultsLineCount = 69;

// The field names of the 69 lines, in file order.
const std::array<QString, resultsLineCount> &resultsFieldNames();

// The 69 values as texts, in file order; a line break inside a value becomes a blank.
std::array<QString, resultsLineCount> resultsLines(const RunRecord &record);

// surname + "_" + name + "_1.txt"
QString resultsFileName(const RunRecord &record);

// The file's bytes: Windows-1251, every line ending in CR LF.
QByteArray resultsFileContent(const RunRecord &record);

// Whether a surname and a name can form the results file name: no character
// that a file name may not hold, all encodable in Windows-1251, and a name of
// at most 255 bytes.
bool formsFileName(const QString &surname, const QString &name);

// Writes the results file into the working directory, atomically: the file is
// complete on disk or an earlier one stays as it was. Throws Failure on
// failure. Returns the file name.
QString writeResultsFile(const RunRecord &record);
