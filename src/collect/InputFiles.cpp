#include "collect/InputFiles.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QSet>

namespace {

// Relative to the folder, in name order.
QStringList resultsFilesIn(const QDir &folder)
{
    QStringList found;
    QDirIterator files(folder.path(), {QStringLiteral("*_1.txt")}, QDir::Files, QDirIterator::Subdirectories);
    while (files.hasNext())
        found << folder.relativeFilePath(files.next());
    found.sort();
    return found;
}

} // namespace

InputFiles findResultsFiles(const QStringList &arguments)
{
    InputFiles input;
    // A file named twice, or also inside a folder named, counts once. The key
    // resolves the argument alone, as resolving each file would cost more than
    // reading it.
    QSet<QString> seen;
    auto take = [&](const QString &path, const QString &key) {
        if (!seen.contains(key)) {
            seen.insert(key);
            input.files << path;
        }
    };
    for (const QString &argument : arguments) {
        const QFileInfo info(argument);
        if (info.isDir()) {
            const QDir folder(argument);
            const QDir canonical(info.canonicalFilePath());
            for (const QString &relative : resultsFilesIn(folder))
                take(QDir::cleanPath(folder.filePath(relative)), canonical.filePath(relative));
        } else if (info.exists()) {
            take(QDir::cleanPath(argument), info.canonicalFilePath());
        } else {
            input.missing << argument;
        }
    }
    return input;
}
