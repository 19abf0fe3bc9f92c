#pragma once

#include <QString>

// Something wrong with one results file, or a file or folder not read, for
// the report on standard error and the problems table.
struct Problem
{
    QString file;
    int line = 0; // from 1; 0 for the file as a whole
    QString reason;
    QString column;       // the field of the line, when a value is at fault
    QString value;        // that value
    bool leftOut = false; // the reason why the file is not in the table
    QString subject = {}; // the code of the file's subject, once the file is in the table
};

// "file:line: reason", or "file: reason" for the file as a whole.
inline QString problemText(const Problem &problem)
{
    const QString where = problem.line > 0 ? problem.file + u':' + QString::number(problem.line) : problem.file;
    return where + QStringLiteral(": ") + problem.reason;
}
