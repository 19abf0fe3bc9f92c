#include "collect/ProblemsTable.h"

QByteArray problemsTable(const QList<Problem> &problems, CsvStyle style)
{
    CsvWriter csv(style);
    csv.record({QStringLiteral("file"), QStringLiteral("subject"), QStringLiteral("line"), QStringLiteral("column"), QStringLiteral("value"),
                QStringLiteral("reason")});
    for (const Problem &problem : problems)
        csv.record({problem.file, problem.subject, problem.line > 0 ? QString::number(problem.line) : QString(), problem.column,
                    problem.value, problem.reason});
    return csv.bytes();
}
