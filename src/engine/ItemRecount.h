#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// A summary line of the results file as the item rows give it.
struct SummaryFigure
{
    QString field;
    int fromItems = 0;
};

// The Raven total, the mathematics counts, the four dichotic word counts,
// the calculator's uses and its operations identified, recounted from the
// cells of an item file.
QList<SummaryFigure> summaryFromItems(const QList<QStringList> &rows);

// A summary line that the item rows contradict.
struct SummaryMismatch
{
    QString field;
    int line = 0; // 1 to 69
    int fromItems = 0;
    QString fromSummary;
};

// The lines of a results file (69 values) that differ from the item rows.
QList<SummaryMismatch> summaryMismatches(const QList<QStringList> &rows, const QStringList &summaryLines);
