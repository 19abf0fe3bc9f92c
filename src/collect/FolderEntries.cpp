#include "collect/FolderEntries.h"

#ifdef Q_OS_WIN
#include <QDir>
#include <QFileInfo>
#else
#include "engine/Cp1251.h"

#include <QFile>
#include <QStringDecoder>
#include <dirent.h>
#include <sys/stat.h>
#endif

#ifdef Q_OS_WIN

// Windows names are UTF-16: every name is one.
FolderListing listFolder(const QString &folder)
{
    FolderListing listing;
    const QFileInfoList entries =
        QDir(folder).entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    for (const QFileInfo &entry : entries)
        listing.entries.append({entry.fileName(), entry.isSymLink(), entry.exists(), entry.isDir(), entry.isFile()});
    return listing;
}

#else

namespace {

void describe(FolderEntry &entry, const struct stat &status)
{
    entry.exists = true;
    entry.isDir = S_ISDIR(status.st_mode);
    entry.isFile = S_ISREG(status.st_mode);
}

// What the entry at the path is, as the listing did not say or it is a link.
void lookUp(FolderEntry &entry, const QByteArray &path, bool known)
{
    struct stat status;
    if (!known) {
        if (::lstat(path.constData(), &status) != 0)
            return;
        entry.isSymLink = S_ISLNK(status.st_mode);
        if (!entry.isSymLink)
            return describe(entry, status);
    }
    if (::stat(path.constData(), &status) == 0)
        describe(entry, status);
}

} // namespace

FolderListing listFolder(const QString &folder)
{
    FolderListing listing;
    QByteArray prefix = QFile::encodeName(folder);
    if (!prefix.endsWith('/'))
        prefix += '/';
    DIR *dir = ::opendir(prefix.constData());
    if (!dir)
        return listing;
    while (const dirent *found = ::readdir(dir)) {
        const QByteArray name(found->d_name);
        if (name == "." || name == "..")
            continue;
        QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
        FolderEntry entry{utf8(name)};
        if (utf8.hasError()) {
            listing.namesNotUtf8 << fromCp1251(name);
            continue;
        }
        switch (found->d_type) {
        case DT_DIR:
            entry.exists = entry.isDir = true;
            break;
        case DT_REG:
            entry.exists = entry.isFile = true;
            break;
        case DT_LNK:
            entry.isSymLink = true;
            lookUp(entry, prefix + name, true);
            break;
        case DT_UNKNOWN:
            lookUp(entry, prefix + name, false);
            break;
        default: // a device, a pipe or a socket
            entry.exists = true;
            break;
        }
        listing.entries.append(entry);
    }
    ::closedir(dir);
    std::sort(listing.entries.begin(), listing.entries.end(),
              [](const FolderEntry &a, const FolderEntry &b) { return a.name < b.name; });
    listing.namesNotUtf8.sort();
    return listing;
}

#endif
