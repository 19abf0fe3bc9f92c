#pragma once

#include "collect/FileBytes.h"
#include "collect/Problem.h"
#include "collect/ResultsText.h"
#include "engine/ResultsFile.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

// One accepted results file: its path, its values as written there, and the
// code of its subject and the number of the subject's run, once given. Each
// value holds its own text.
struct ResultsRow
{
    QString file;
    QStringList values;
    QString identity; // who the subject is: subjectIdentity() of the values
    QString subject = {};
    int run = 0;
};

// Reads results files, checks them and keeps the rows of those accepted. A
// file without exactly the lines of a results file, or a byte-for-byte copy
// of a file accepted before, is always left out; with strict, so is a file
// with any other problem. Notices (a namesake of an earlier subject, a free
// text holding the subject's own names or contact) leave no file out.
class Collector
{
public:
    using Report = std::function<void(const Problem &)>;
    using Progress = std::function<void(qsizetype filesTaken)>;

    // How a file is read: its bytes, up to a limit.
    using Reader = std::function<FileBytes(const QString &path, qint64 limit)>;

    Collector(bool strict, Report report, Reader reader = readFileBytes);

    // The most files read and not yet taken at once: with results files of
    // at most a few megabytes each, what reading ahead holds stays small.
    static qsizetype readAhead();

    // Takes the files in their order: the reports and rows come out as if
    // they were read one by one, while workerCount() threads read them.
    void add(const QStringList &paths, const Progress &progress);

    QList<ResultsRow> &rows() { return accepted; }
    const QList<ResultsRow> &rows() const { return accepted; }
    int leftOutCount() const { return leftOut; }

private:
    // What a file tells alone, before it meets the files before it.
    struct Reading
    {
        QString path;
        QString fault; // why it is left out, whatever the other files are
        QByteArray bytes;
        ResultsText text;
        QList<Problem> problems;        // of its lines, each alone and against each other
        QString identity;               // subjectIdentity() of its lines
        QList<Problem> freeTextNotices; // free texts holding the subject's own names or contact
    };

    Reading read(const QString &path) const;
    static QList<Problem> check(const QString &path, QStringList &lines, bool holdsNul);
    static QList<Problem> freeTextNotices(const QString &path, const QStringList &lines);
    void take(Reading &reading);
    std::optional<Problem> namesakeNotice(const Reading &reading, const QString &names) const;
    void leaveOut(const QString &path, const QString &reason);

    struct Subject
    {
        QString file;
        QString birthDate;
    };

    bool strict;
    Report report;
    Reader reader;
    QList<ResultsRow> accepted;
    int leftOut = 0;
    QHash<QString, QString> fileOfSubject;  // subject identity → the first accepted file
    QHash<QString, Subject> subjectOfNames; // names identity → the first accepted subject of these names
    QHash<QByteArray, QString> fileOfContent; // the bytes → the accepted file
};
