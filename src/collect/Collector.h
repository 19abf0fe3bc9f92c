#pragma once

#include "collect/Problem.h"
#include "engine/ResultsFile.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

// One accepted results file: its path and its 69 values as written there.
struct ResultsRow
{
    QString file;
    QStringList values;
};

// Reads results files one by one, checks them and keeps the rows of those
// accepted. A file without exactly 69 lines is always left out; with
// strict, so is a file with any other problem.
class Collector
{
public:
    using Report = std::function<void(const Problem &)>;

    Collector(bool strict, Report report);

    void add(const QString &path);

    const QList<ResultsRow> &rows() const { return accepted; }
    int leftOutCount() const { return leftOut; }

private:
    QList<Problem> check(const QString &path, const QStringList &lines) const;
    void leaveOut(const QString &path, const QString &reason);

    bool strict;
    Report report;
    QList<ResultsRow> accepted;
    int leftOut = 0;
    QHash<QString, QString> fileOfSubject; // surname and name, folded → the accepted file
};
