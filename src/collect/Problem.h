#pragma once

#include <QString>

// Something wrong with one results file, for the report on standard error.
struct Problem
{
    QString file;
    int line = 0; // 1 to 69; 0 for the file as a whole
    QString reason;
};

// "file:line: reason", or "file: reason" for the file as a whole.
inline QString problemText(const Problem &problem)
{
    const QString where = problem.line > 0 ? problem.file + u':' + QString::number(problem.line) : problem.file;
    return where + QStringLiteral(": ") + problem.reason;
}
