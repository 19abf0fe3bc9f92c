#pragma once

#include <QDateTime>
#include <QStringList>
#include <QTemporaryDir>
#include <memory>

// Shared helpers of the test suites: the seams (clock, regional settings,
// working directory, home folder, disk) set to known values.
namespace test {

// The wall clock stands at a fixed moment and the monotonic clock still,
// until moved, for as long as it lives.
class FixedClock
{
public:
    explicit FixedClock(const QDateTime &start);
    ~FixedClock();
    // The wall clock set: no time passes.
    void set(const QDateTime &moment) { *current = moment; }
    // Time passes, on the wall clock and on the monotonic one.
    void advance(qint64 seconds)
    {
        *current = current->addSecs(seconds);
        *steady += seconds * 1000;
    }
    void advanceTo(const QDateTime &moment) { advance(current->secsTo(moment)); }

private:
    std::shared_ptr<QDateTime> current;
    std::shared_ptr<qint64> steady;
};

// A temporary directory made the working directory, for as long as it lives.
class WorkingDirectory
{
public:
    WorkingDirectory();
    ~WorkingDirectory();
    QString path() const { return dir.path(); }

private:
    QTemporaryDir dir;
    QString previous;
};

// A home folder of its own (HOME and XDG_CONFIG_HOME), with or without a
// Documents folder in it, for as long as it lives.
class HomeFolder
{
public:
    explicit HomeFolder(bool withDocuments = true);
    ~HomeFolder();
    QString path() const { return dir.path(); }
    QString documents() const;

private:
    QTemporaryDir dir;
    QByteArray previousHome;
    QByteArray previousConfig;
};

// Every write that would make a file larger than a few bytes fails with
// EFBIG, as on a full disk, for as long as it lives. Windows has no limit on
// the size of a process's files: a test that needs one starts with
// SKIP_WITHOUT_FULL_DISK() and is skipped there.
#ifdef Q_OS_WIN
#define SKIP_WITHOUT_FULL_DISK() QSKIP("Windows cannot limit the size of a process's files")
#else
#define SKIP_WITHOUT_FULL_DISK()
#endif
// A working directory that refuses files is made by removing it, which
// Windows refuses for the current directory: a test that needs one starts
// with SKIP_WITHOUT_REMOVABLE_WORKING_DIRECTORY() and is skipped there.
#ifdef Q_OS_WIN
#define SKIP_WITHOUT_REMOVABLE_WORKING_DIRECTORY() QSKIP("Windows cannot remove the current directory")
#else
#define SKIP_WITHOUT_REMOVABLE_WORKING_DIRECTORY()
#endif
class FullDisk
{
public:
    FullDisk();
    ~FullDisk();

private:
    unsigned long long previous[2];
};

// Russian regional settings: decimal comma, dd.MM.yyyy, H:mm:ss.
void useRussianSettings();

// The lines of a results file, without their CR LF; fails the test when a
// line does not end in CR LF.
QStringList resultsFileLines(const QString &path);

} // namespace test
