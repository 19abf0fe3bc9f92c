#include "collect/InputFiles.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QSet>

namespace {

QStringList resultsFilesIn(const QString &folder)
{
    QStringList found;
    QDirIterator files(folder, {QStringLiteral("*_1.txt")}, QDir::Files, QDirIterator::Subdirectories);
    while (files.hasNext())
        found << QDir::cleanPath(files.next());
    found.sort();
    return found;
}

} // namespace

InputFiles findResultsFiles(const QStringList &arguments)
{
    InputFiles input;
    QSet<QString> seen; // a file named twice, or also inside a folder named, counts once
    auto take = [&](const QString &path) {
        const QString canonical = QFileInfo(path).canonicalFilePath();
        if (!seen.contains(canonical)) {
            seen.insert(canonical);
            input.files << path;
        }
    };
    for (const QString &argument : arguments) {
        const QFileInfo info(argument);
        if (info.isDir()) {
            for (const QString &path : resultsFilesIn(argument))
                take(path);
        } else if (info.exists()) {
            take(QDir::cleanPath(argument));
        } else {
            input.missing << argument;
        }
    }
    return input;
}
