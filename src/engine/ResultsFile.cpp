#include "engine/ResultsFile.h"

#include "engine/Cp1251.h"
#include "engine/Failure.h"
#include "engine/ItemFile.h"
#include "engine/OutputFile.h"
#include "engine/StudySettings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

// Character by character: a regular expression matches nothing at all in a
// text that is not valid UTF-16, such as one with a lone surrogate.
QString oneLine(QString text)
{
    text.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    for (QChar &c : text)
        if (QStringView(u"\r\n\v\f\u0085\u2028\u2029").contains(c))
            c = u' ';
    return text;
}

// The file system decides what is taken: case-insensitively where it is so.
// A dangling link is taken too, as writing would follow it. A name whose item
// file is there is taken as well, so that no run replaces another's.
// An empty folder is the working directory: the name alone, since a working
// directory that no longer exists has no path.
} // namespace

std::array<QString, resultsLineCount> resultsLines(const RunRecord &record)
{
    std::array<QString, resultsLineCount> texts;
    for (int i = 0; i < resultsLineCount; ++i)
        texts[i] = oneLine(resultLines()[i].write(record));
    return texts;
}

QString resultsFileName(const RunRecord &record, int number)
{
    return record.InfoSurname + u'_' + record.InfoName + u'_' + QString::number(number) + QStringLiteral(".txt");
}

QByteArray resultsFileContent(const RunRecord &record)
{
    QByteArray bytes;
    bytes.reserve(2048);
    for (const QString &line : resultsLines(record))
        bytes += toCp1251(line) + "\r\n";
    return bytes;
}

bool formsFileName(const QString &surname, const QString &name)
{
    const QString parts = surname + name;
    static const QString forbidden = QStringLiteral("/\\:*?\"<>|");
    for (const QChar c : parts)
        if (c.unicode() < 0x20 || c.unicode() == 0x7F || c.category() == QChar::Other_Control || forbidden.contains(c))
            return false;
    RunRecord names;
    names.InfoSurname = surname;
    names.InfoName = name;
    const QString resultsName = resultsFileName(names);
    const QString longestName = studySettings().itemData ? itemFilePath(resultsName) : resultsName;
    return encodableInCp1251(parts) && longestName.toUtf8().size() <= 255;
}

namespace {

// The file system decides what is taken: case-insensitively where it is so.
// A dangling link is taken too, as writing would follow it. A name whose item
// file is there is taken as well, so that no run replaces another's.
// An empty folder is the working directory: the name alone, since a working
// directory that no longer exists has no path.
QString firstFreeName(const QString &folder, const RunRecord &record)
{
    for (int number = 1;; ++number) {
        const QString name = resultsFileName(record, number);
        const QString path = folder.isEmpty() ? name : QDir(folder).filePath(name);
        const auto taken = [](const QFileInfo &entry) { return entry.exists() || entry.isSymLink(); };
        if (!taken(QFileInfo(path)) && !taken(QFileInfo(itemFilePath(path))))
            return path;
    }
}

QString documentsFolder()
{
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return !documents.isEmpty() && QFileInfo(documents).isDir() ? documents : QDir::homePath();
}

} // namespace

SavedResults writeResultsFile(const RunRecord &record, const SavedResults &own, const WriteBeside &beside)
{
    const QByteArray content = resultsFileContent(record);
    const auto written = [&](const QString &path) {
        return !writeWholeFile(path, content) && (!beside || beside(path));
    };
    if (!own.path.isEmpty()) {
        if (!written(own.path))
            throw Failure();
        return own;
    }
    // A results file whose companion could not be written goes, as it was
    // never there: the next place takes both.
    const auto writtenAfresh = [&](const QString &path) {
        if (written(path))
            return true;
        if (beside)
            QFile::remove(path);
        return false;
    };
    const QString here = firstFreeName(QString(), record);
    if (writtenAfresh(here))
        return {QFileInfo(here).absoluteFilePath(), here};
    const QString there = QFileInfo(firstFreeName(documentsFolder(), record)).absoluteFilePath();
    if (writtenAfresh(there))
        return {there, QDir::toNativeSeparators(there)};
    throw Failure();
}
