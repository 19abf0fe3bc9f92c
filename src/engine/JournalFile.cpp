#include "engine/JournalFile.h"

#include "engine/OutputFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>
#endif

namespace {

constexpr QFileDevice::Permissions ownerOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner;

// Whether the file is its user's alone. Windows keeps each user's
// application data in the user's own profile, which others cannot open.
bool ownedByUser(const QFileInfo &file)
{
#ifdef Q_OS_UNIX
    const QFileDevice::Permissions others = QFileDevice::ReadGroup | QFileDevice::WriteGroup
                                            | QFileDevice::ReadOther | QFileDevice::WriteOther;
    return file.ownerId() == ::getuid() && !(file.permissions() & others);
#else
    Q_UNUSED(file);
    return true;
#endif
}

// Moves the journal aside under a name that no file has yet; where it went,
// or nothing when it could not be moved.
QString setAside(const QString &path, const QString &reason, const QDateTime &now)
{
    const QString stem = path + u'.' + reason + u'-' + now.toLocalTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QString kept = stem;
    for (int n = 2; QFileInfo::exists(kept); ++n)
        kept = stem + u'-' + QString::number(n);
    return QFile::rename(path, kept) ? kept : QString();
}

// Makes a new name or a deleted one in the folder last across a power cut:
// a file synced and renamed may otherwise come back under its old name, and
// a journal deleted at withdrawal may come back at all. Windows' file system
// keeps its renames and deletions in its own log; nothing to do there. The
// system's reason when it cannot.
std::optional<QString> syncFolder(const QString &path)
{
#ifdef Q_OS_UNIX
    const int folder = ::open(QFile::encodeName(QFileInfo(path).absolutePath()).constData(), O_RDONLY | O_DIRECTORY);
    const bool synced = folder >= 0 && ::fsync(folder) == 0;
    const QString why = synced ? QString() : qt_error_string(errno);
    if (folder >= 0)
        ::close(folder);
    if (!synced)
        return why;
#else
    Q_UNUSED(path);
#endif
    return std::nullopt;
}

// Deletes what writes cut off by a crash or a power cut left beside the
// journal: the writer's new files, "journal." and six letters or digits,
// which never took the journal's name but hold a run's answers all the same.
void removeCutOffWrites(const QString &path)
{
    const QFileInfo journal(path);
    const QRegularExpression cutOff(
        QRegularExpression::anchoredPattern(QRegularExpression::escape(journal.fileName()) + QStringLiteral("\\.[A-Za-z0-9]{6}")));
    const QDir folder = journal.absoluteDir();
    for (const QString &name : folder.entryList(QDir::Files | QDir::Hidden))
        if (cutOff.match(name).hasMatch())
            QFile::remove(folder.filePath(name));
}

FoundJournal notTakenUp(const QString &path, JournalStanding standing, const QString &why, const QDateTime &now)
{
    static const char *const reasons[] = {"", "", "unreadable", "other-version", "expired", "not-owned"};
    return {standing, std::nullopt, why, setAside(path, QString::fromLatin1(reasons[int(standing)]), now)};
}

} // namespace

QString journalPathIn(const QString &folder)
{
    return QDir(folder).filePath(QStringLiteral("journal"));
}

std::optional<QString> writeJournal(const QString &path, const Journal &journal)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    if (const std::optional<QString> failed = writeWholeFile(path, journalBytes(journal), ownerOnly))
        return failed;
    return syncFolder(path);
}

FoundJournal findJournal(const QString &path, const QString &version, const QDateTime &now, int maxHours)
{
    const QFileInfo file(path);
    if (!file.exists())
        return {};
    if (!ownedByUser(file))
        return notTakenUp(path, JournalStanding::NotOwned,
                          QStringLiteral("журнал принадлежит другому пользователю или открыт для других"), now);
    QFile in(path);
    if (!in.open(QIODevice::ReadOnly))
        return notTakenUp(path, JournalStanding::Unreadable, QStringLiteral("журнал не открывается: %1").arg(in.errorString()),
                          now);
    ReadJournal read = readJournal(in.readAll());
    in.close();
    if (!read.journal)
        return notTakenUp(path, JournalStanding::Unreadable, read.problem, now);
    if (read.journal->batteryVersion != version)
        return notTakenUp(path, JournalStanding::OtherVersion,
                          QStringLiteral("журнал записан версией %1 программы, а это версия %2")
                              .arg(read.journal->batteryVersion, version),
                          now);
    const qint64 age = read.journal->written.secsTo(now);
    if (age < 0)
        return notTakenUp(path, JournalStanding::Expired,
                          QStringLiteral("журнал записан позже, чем показывают часы компьютера"), now);
    if (age >= qint64(maxHours) * 3600)
        return notTakenUp(path, JournalStanding::Expired,
                          QStringLiteral("журнал старше %1 ч").arg(maxHours), now);
    return {JournalStanding::Resumable, std::move(read.journal), {}, {}};
}

bool removeJournal(const QString &path)
{
    if (!QFile::remove(path) && QFileInfo::exists(path))
        return false;
    removeCutOffWrites(path);
    syncFolder(path);
    return true;
}
