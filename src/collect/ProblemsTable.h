#pragma once

#include "collect/CsvText.h"
#include "collect/Problem.h"

#include <QList>

// Every problem as a CSV row: file, subject (empty for a file not in the
// table), line (empty for the file as a whole), column, value, reason.
QByteArray problemsTable(const QList<Problem> &problems, CsvStyle style);
