#include "collect/OutputFiles.h"

#include <QFileInfo>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

namespace {

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
        return info.canonicalFilePath();
    const QFileInfo folder(info.absolutePath());
    return (folder.exists() ? folder.canonicalFilePath() : folder.absoluteFilePath()) + u'/' + info.fileName();
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
