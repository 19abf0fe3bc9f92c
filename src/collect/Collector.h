#pragma once

#include "collect/Problem.h"
#include "engine/ResultsFile.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

// One accepted results file: its path, its values as written there, and the
// code of its subject and the number of the subject's run, once given.
struct ResultsRow
{
    QString file;
    QStringList values;
    QString identity; // who the subject is: subjectIdentity() of the values
    QString subject;
    int run = 0;
    QString text; // the file's text, whose characters the values refer to
};

// Reads results files one by one, checks them and keeps the rows of those
// accepted. A file without exactly the lines of a results file, or a
// byte-for-byte copy of a file accepted before, is always left out; with
// strict, so is a file with any other problem. Notices (a namesake of an
// earlier subject, a free text holding the subject's own names or contact)
// leave no file out.
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
    QList<Problem> check(const QString &path, QStringList &lines, bool holdsNul) const;
    QList<Problem> notices(const QString &path, const QStringList &lines, const QString &identity,
                           const QString &names) const;
    void leaveOut(const QString &path, const QString &reason);

    struct Subject
    {
        QString file;
        QString birthDate;
    };

    bool strict;
    Report report;
    QList<ResultsRow> accepted;
    int leftOut = 0;
    QHash<QString, QString> fileOfSubject;  // subject identity → the first accepted file
    QHash<QString, Subject> subjectOfNames; // names identity → the first accepted subject of these names
    QHash<QByteArray, QString> fileOfContent; // the bytes → the accepted file
};
