#include "collect/PackageFolder.h"

#include "engine/OutputFile.h"

#include <QDir>
#include <QFileInfo>

namespace {

// A name beside the folder that nothing holds yet.
QString unusedNameBeside(const QString &folder, const QString &ending)
{
    for (int n = 1;; ++n) {
        const QString candidate = QStringLiteral("%1.%2-%3").arg(folder, ending).arg(n);
        if (!QFileInfo::exists(candidate) && !QFileInfo(candidate).isSymLink())
            return candidate;
    }
}

} // namespace

std::optional<QString> replaceFolderWhole(const QString &folder, const FolderFiles &files)
{
    const QString target = QDir::cleanPath(QFileInfo(folder).absoluteFilePath());
    const QString parent = QFileInfo(target).absolutePath();
    if (!QDir().mkpath(parent))
        return QStringLiteral("cannot make the folder %1").arg(parent);
    // Made as any folder the user makes, with the system's default permissions.
    const QString staging = unusedNameBeside(target, QStringLiteral("new"));
    if (!QDir().mkdir(staging))
        return QStringLiteral("cannot make the folder %1").arg(staging);
    const auto failed = [&](const QString &why) {
        QDir(staging).removeRecursively();
        return std::optional<QString>(why);
    };
    for (const auto &[name, bytes] : files)
        if (const auto why = writeWholeFile(QDir(staging).filePath(name), bytes))
            return failed(QStringLiteral("cannot write %1: %2").arg(QDir(target).filePath(name), *why));

    QDir dir;
    if (!QFileInfo::exists(target))
        return dir.rename(staging, target) ? std::nullopt : failed(QStringLiteral("cannot rename %1 to %2").arg(staging, target));
    const QString earlier = unusedNameBeside(target, QStringLiteral("old"));
    if (!dir.rename(target, earlier))
        return failed(QStringLiteral("cannot rename %1 to %2, to put the new package in its place").arg(target, earlier));
    if (!dir.rename(staging, target)) {
        dir.rename(earlier, target);
        return failed(QStringLiteral("cannot rename %1 to %2").arg(staging, target));
    }
    QDir(earlier).removeRecursively(); // should it fail, what stays behind holds only the earlier package
    return std::nullopt;
}
