#include "support/EngineSupport.h"

#include "engine/Cp1251.h"
#include "engine/DateTime.h"
#include "engine/MonotonicClock.h"
#include "engine/Regional.h"

#include <QDir>
#include <QFile>
#ifndef Q_OS_WIN
#include <csignal>
#include <sys/resource.h>
#endif

namespace test {

FixedClock::FixedClock(const QDateTime &start)
    : current(std::make_shared<QDateTime>(start))
    , steady(std::make_shared<qint64>(0))
{
    setClock([moment = current] { return *moment; });
    setMonotonicClock([time = steady] { return *time; });
}

FixedClock::~FixedClock()
{
    setClock({});
    setMonotonicClock({});
}

WorkingDirectory::WorkingDirectory()
    : previous(QDir::currentPath())
{
    QDir::setCurrent(dir.path());
}

WorkingDirectory::~WorkingDirectory()
{
    QDir::setCurrent(previous);
}

HomeFolder::HomeFolder(bool withDocuments)
    : previousHome(qgetenv("HOME"))
    , previousConfig(qgetenv("XDG_CONFIG_HOME"))
{
    qputenv("HOME", dir.path().toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", (dir.path() + QStringLiteral("/.config")).toLocal8Bit());
    if (withDocuments)
        QDir(dir.path()).mkdir(QStringLiteral("Documents"));
}

HomeFolder::~HomeFolder()
{
    qputenv("HOME", previousHome);
    qputenv("XDG_CONFIG_HOME", previousConfig);
}

QString HomeFolder::documents() const
{
    return QDir(dir.path()).filePath(QStringLiteral("Documents"));
}

#ifdef Q_OS_WIN
// Never made there: SKIP_WITHOUT_FULL_DISK() skips the tests that would.
FullDisk::FullDisk() = default;
FullDisk::~FullDisk() = default;
#else
FullDisk::FullDisk()
{
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit;
    getrlimit(RLIMIT_FSIZE, &limit);
    previous[0] = limit.rlim_cur;
    previous[1] = limit.rlim_max;
    limit.rlim_cur = 16;
    setrlimit(RLIMIT_FSIZE, &limit);
}

FullDisk::~FullDisk()
{
    const rlimit limit{previous[0], previous[1]};
    setrlimit(RLIMIT_FSIZE, &limit);
}
#endif

void useRussianSettings()
{
    setRegional(russianSettings());
}

QStringList resultsFileLines(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QList<QByteArray> parts = file.readAll().split('\n');
    if (parts.takeLast() != QByteArray())
        return {};
    QStringList lines;
    for (const QByteArray &line : parts) {
        if (!line.endsWith('\r'))
            return {};
        lines << fromCp1251(line.chopped(1));
    }
    return lines;
}

} // namespace test
