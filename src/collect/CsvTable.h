#pragma once

#include "collect/Collector.h"
#include "collect/CsvText.h"

#include <QByteArray>
#include <QList>

// What the table leaves out about who the subjects are.
enum class Privacy
{
    Named,         // every column
    Pseudonymised, // without the file, the names and the contact: the subject code stands for them
    Deidentified,  // also without the birth date, the test's date and times, school, grade and every free text
};

// A column of the table.
struct TableColumn
{
    enum Source
    {
        File,    // the path of the results file
        Subject, // the subject's code
        Run,     // the number of the subject's run: 1, 2, … by the number of the file
        Line,    // a line of the results file
    };
    Source source;
    int line = 0; // from 1, for a line
    QString name;
};

// "file", "subject", "run", then the results lines in file order, named by
// their fields, less what the privacy leaves out.
QList<TableColumn> tableColumns(Privacy privacy);

// A header row of the column names, then one row per results file; a
// decimal number in the style's decimal separator.
QByteArray csvTable(const QList<ResultsRow> &rows, const QList<TableColumn> &columns, CsvStyle style);
