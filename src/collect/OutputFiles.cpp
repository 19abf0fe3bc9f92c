#include "collect/OutputFiles.h"

#include <QDir>
#include <QFileInfo>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

namespace {

// A path as the file system tells paths apart: Windows' ignores case.
QString comparable(const QString &path)
{
#ifdef Q_OS_WIN
    return path.toCaseFolded();
#else
    return path;
#endif
}

// A folder's path with every link resolved, as far as its folders exist.
QString resolvedFolder(const QString &absolutePath)
{
    const QFileInfo folder(absolutePath);
    if (folder.exists())
        return folder.canonicalFilePath();
    const QString parent = folder.absolutePath();
    return parent == absolutePath ? absolutePath : QDir(resolvedFolder(parent)).filePath(folder.fileName());
}

// One text for every name of a file: its device and inode where it exists
// (a hard link too), else its folder resolved and its name.
QString fileIdentity(const QString &path)
{
    if (path.isEmpty())
        return QStringLiteral("standard output");
    const QFileInfo info(path);
#ifdef Q_OS_UNIX
    struct stat status;
    if (::stat(QFile::encodeName(path).constData(), &status) == 0)
        return QStringLiteral("inode %1 %2").arg(status.st_dev).arg(status.st_ino);
#endif
    if (info.exists())
        return comparable(info.canonicalFilePath());
    return comparable(QDir(resolvedFolder(info.absolutePath())).filePath(info.fileName()));
}

} // namespace

std::optional<QString> outputsRefused(const QList<OutputFile> &outputs)
{
    QList<std::pair<QString, const OutputFile *>> seen; // identity, output
    for (const OutputFile &output : outputs) {
        const QFileInfo info(output.path);
        if (!output.path.isEmpty() && info.exists() && !info.isFile())
            return QStringLiteral("%1 %2 is not a regular file").arg(output.option, output.path);
        const QString identity = fileIdentity(output.path);
        for (const auto &[earlierIdentity, earlier] : seen)
            if (earlierIdentity == identity)
                return QStringLiteral("%1 and %2 name the same file, %3")
                    .arg(earlier->option, output.option, output.path.isEmpty() ? identity : output.path);
        seen.append({identity, &output});
    }
    return std::nullopt;
}

bool isInFolder(const QString &path, const QString &folder)
{
    if (path.isEmpty())
        return false;
    const auto asFolder = [](const QString &absolute) {
        const QString resolved = resolvedFolder(QDir::cleanPath(absolute));
        return comparable(resolved.endsWith(u'/') ? resolved : resolved + u'/');
    };
    return asFolder(QFileInfo(path).absolutePath()).startsWith(asFolder(QFileInfo(folder).absoluteFilePath()));
}
