#pragma once

#include "collect/CsvTable.h"

// The data dictionary of a table: one row per column, with its line in the
// results file, type (text, integer, real, date, time, duration, code), unit,
// range, Russian and English description, and each code with its labels;
// then the rows of another table's columns, if given.
QByteArray codebook(const QList<TableColumn> &columns, CsvStyle style, const QList<QStringList> &moreRows = {});
