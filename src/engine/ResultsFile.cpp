#include "engine/ResultsFile.h"

#include "engine/Cp1251.h"
#include "engine/Failure.h"
#include "engine/OutputFile.h"
#include "engine/StudySettings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
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

QString itemFilePath(const QString &resultsPath)
{
    static const QRegularExpression extension(QStringLiteral("\\.txt$"), QRegularExpression::CaseInsensitiveOption);
    return QString(resultsPath).remove(extension) + QStringLiteral(".items.tsv");
}

QString itemSidecarPath(const QString &resultsPath)
{
    return itemFilePath(resultsPath).chopped(3) + QStringLiteral("json");
}

QByteArray resultsFileContent(const RunRecord &record)
{
    QByteArray bytes;
    bytes.reserve(2048);
    for (const QString &line : resultsLines(record))
        bytes += toCp1251(line) + "\r\n";
    return bytes;
}

FileNameFault fileNameFault(const QString &surname, const QString &name, bool withItemFile)
{
    const QString parts = surname + name;
    static const QString forbidden = QStringLiteral("/\\:*?\"<>|");
    for (const QChar c : parts)
        if (c.unicode() < 0x20 || c.unicode() == 0x7F || c.category() == QChar::Other_Control || forbidden.contains(c))
            return FileNameFault::Characters;
    if (!encodableInCp1251(parts))
        return FileNameFault::Characters;
    RunRecord names;
    names.InfoSurname = surname;
    names.InfoName = name;
    const QString resultsName = resultsFileName(names);
    const QString longestName = withItemFile ? itemSidecarPath(resultsName) : resultsName;
    return longestName.toUtf8().size() <= 255 ? FileNameFault::None : FileNameFault::Length;
}

namespace {

// The file system decides what is taken: case-insensitively where it is so.
// A dangling link is taken too, as writing would follow it. A name whose item
// file or its sidecar is there is taken as well, so that no run replaces another's.
// An empty folder is the working directory: the name alone, since a working
// directory that no longer exists has no path.
QString firstFreeName(const QString &folder, const RunRecord &record)
{
    for (int number = 1;; ++number) {
        const QString name = resultsFileName(record, number);
        const QString path = folder.isEmpty() ? name : QDir(folder).filePath(name);
        const auto taken = [](const QFileInfo &entry) { return entry.exists() || entry.isSymLink(); };
        if (!taken(QFileInfo(path)) && !taken(QFileInfo(itemFilePath(path))) && !taken(QFileInfo(itemSidecarPath(path))))
            return path;
    }
}

// The working directory (empty), then Documents where there is one, then home.
QStringList foldersToTry()
{
    QStringList folders{QString()};
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (!documents.isEmpty() && QFileInfo(documents).isDir())
        folders << documents;
    if (!folders.contains(QDir::homePath()))
        folders << QDir::homePath();
    return folders;
}

// The system's reason as Qt gives it (strerror's words on Linux, already in
// the system's language on Windows), the common ones in Russian.
QString reasonInRussian(const QString &reason)
{
    static const QList<std::pair<const char *, const char *>> russian = {
        {"No space left on device", "На диске нет свободного места."},
        {"File too large", "На диске нет места для файла такого размера."},
        {"Disk quota exceeded", "Превышена квота на диске."},
        {"Permission denied", "Нет разрешения на запись в эту папку."},
        {"Operation not permitted", "Нет разрешения на запись в эту папку."},
        {"Read-only file system", "Диск защищён от записи."},
        {"No such file or directory", "Папка не найдена."},
    };
    for (const auto &[english, words] : russian)
        if (reason.contains(QLatin1String(english), Qt::CaseInsensitive))
            return QString::fromUtf8(words);
    return reason;
}

// The file, and its companion if any, written into its path, or the reason
// why not.
std::optional<QString> written(const QString &path, const RunRecord &record, const WriteBeside &beside)
{
    std::optional<QString> failure = writeWholeFile(path, resultsFileContent(record));
    if (!failure && beside)
        failure = beside(path);
    return failure ? std::optional(reasonInRussian(*failure)) : std::nullopt;
}

// A results file whose companion could not be written goes, as if it had
// never been there: the next place takes both.
SavedResults writtenIntoFirstOf(const QStringList &folders, const RunRecord &record, const WriteBeside &beside)
{
    QString reason;
    for (const QString &folder : folders) {
        const QString path = firstFreeName(folder, record);
        const std::optional<QString> failure = written(path, record, beside);
        if (!failure)
            return {QFileInfo(path).absoluteFilePath()};
        if (beside)
            QFile::remove(path);
        reason = *failure;
    }
    throw SaveFailure(reason);
}

} // namespace

SavedResults writeResultsFile(const RunRecord &record, const SavedResults &own, const WriteBeside &beside)
{
    if (own.path.isEmpty())
        return writtenIntoFirstOf(foldersToTry(), record, beside);
    if (const std::optional<QString> failure = written(own.path, record, beside))
        throw SaveFailure(*failure);
    return own;
}

SavedResults writeResultsFileIn(const QString &folder, const RunRecord &record, const WriteBeside &beside)
{
    return writtenIntoFirstOf({folder}, record, beside);
}
