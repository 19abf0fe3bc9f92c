#pragma once

#include "collect/Problem.h"
#include "engine/ResultsFile.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

// One accepted results file: its path, its 69 values as written there, and
// the code of its subject once given.
struct ResultsRow
{
    QString file;
    QStringList values;
    QString subject;
};

// Reads results files one by one, checks them and keeps the rows of those
// accepted. A file without exactly 69 lines, or a byte-for-byte copy of a
// file accepted before, is always left out; with strict, so is a file with
// any other problem.
class Collector
{
public:
    using Report = std::function<void(const Problem &)>;

    Collector(bool strict, Report report);

    void add(const QString &path);

    QList<ResultsRow> &rows() { return accepted; }
    const QList<ResultsRow> &rows() const { return accepted; }
    int leftOutCount() const { return leftOut; }

private:
    QList<Problem> check(const QString &path, QStringList &lines) const;
    void leaveOut(const QString &path, const QString &reason);

    bool strict;
    Report report;
    QList<ResultsRow> accepted;
    int leftOut = 0;
    QHash<QString, QString> fileOfSubject;  // subject identity → the accepted file
    QHash<QByteArray, QString> fileOfDigest; // digest of the bytes → the accepted file
};
