#include "collect/InputFiles.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>

namespace {

// Results files are named surname_name_N.txt; N counts runs of one name on
// one computer. Relative to the folder, in name order.
QStringList resultsFilesIn(const QDir &folder)
{
    static const QRegularExpression numbered(QStringLiteral("_[0-9]+\\.txt$"));
    QStringList found;
    QDirIterator files(folder.path(), {QStringLiteral("*_*.txt")}, QDir::Files, QDirIterator::Subdirectories);
    while (files.hasNext()) {
        const QString path = files.next();
        if (numbered.match(files.fileName()).hasMatch())
            found << folder.relativeFilePath(path);
    }
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
