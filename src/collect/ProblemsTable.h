#pragma once

#include "collect/CsvText.h"
#include "collect/Problem.h"

#include <QList>

// Every problem as a CSV row: file, line (empty for the file as a whole),
// column, value, reason.
QByteArray problemsTable(const QList<Problem> &problems, CsvStyle style);
