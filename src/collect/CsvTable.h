#pragma once

#include "collect/Collector.h"
#include "collect/CsvText.h"

#include <QByteArray>
#include <QList>

// A column of the table.
struct TableColumn
{
    enum Source
    {
        File,    // the path of the results file
        Subject, // the subject's code
        Line,    // a line of the results file
    };
    Source source;
    int line = 0; // 1 to 69 for a line
    QString name;
};

// "file", "subject", then the 69 lines in file order, named by their fields.
// Pseudonymised, the columns that name the subject (the file's path, its
// surname, name and contact) are left out: the subject's code stands for them.
QList<TableColumn> tableColumns(bool pseudonymised);

// A header row of the column names, then one row per results file; a
// decimal number in the style's decimal separator.
QByteArray csvTable(const QList<ResultsRow> &rows, const QList<TableColumn> &columns, CsvStyle style);
