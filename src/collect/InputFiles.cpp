#include "collect/InputFiles.h"

#include "collect/FolderEntries.h"
#include "collect/PlainFileName.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>
#include <tuple>

namespace {

// surname_name_N.txt, N counting runs of one name on one computer; a mail
// program or a browser saves a second attachment of one name as "… (1).txt".
bool isResultsFileName(const QString &name)
{
    static const QRegularExpression pattern(QStringLiteral("^.+_[0-9]+( ?\\([0-9]+\\))?\\.txt$"),
                                            QRegularExpression::CaseInsensitiveOption);
    return plainResultsFileStem(name) || pattern.match(name).hasMatch();
}

// The item file of a results file: its stem and ".items.tsv"; a browser
// saves a second one of a name as "….items (1).tsv".
bool isItemFileName(const QString &name)
{
    static const QRegularExpression pattern(QStringLiteral("^.+_[0-9]+( ?\\([0-9]+\\))?\\.items( ?\\([0-9]+\\))?\\.tsv$"),
                                            QRegularExpression::CaseInsensitiveOption);
    // The end first: the pattern takes longer to tell a results file.
    return name.endsWith(QStringLiteral(".tsv"), Qt::CaseInsensitive) && pattern.match(name).hasMatch();
}

// The sidecar of an item file, read with it: "….items.json", "….items (1).json".
bool isItemSidecarName(const QString &name)
{
    static const QRegularExpression pattern(QStringLiteral("^.+_[0-9]+( ?\\([0-9]+\\))?\\.items( ?\\([0-9]+\\))?\\.json$"),
                                            QRegularExpression::CaseInsensitiveOption);
    return name.endsWith(QStringLiteral(".json"), Qt::CaseInsensitive) && pattern.match(name).hasMatch();
}

// Why an entry of a folder is not read, or nothing for a results file or a
// folder to search.
QString reasonToSkip(const FolderEntry &entry)
{
    if (entry.name.startsWith(u'.'))
        return entry.isDir ? QStringLiteral("is a hidden folder; not searched") : QStringLiteral("is hidden; not read");
    if (entry.isSymLink && entry.isDir)
        return QStringLiteral("is a link to a folder; not searched");
    if (entry.isDir)
        return {};
    if (!entry.exists)
        return QStringLiteral("is a link to nothing; not read");
    if (!entry.isFile)
        return QStringLiteral("is not a regular file; not read");
    if (!isResultsFileName(entry.name) && !isItemFileName(entry.name))
        return QStringLiteral("is not named surname_name_N.txt; not read");
    return {};
}

class Search
{
public:
    explicit Search(InputFiles &input)
        : input(input)
    {
    }

    void argument(const QString &path)
    {
        const QFileInfo info(path);
        if (info.isDir()) {
            folder(info.canonicalFilePath(), QDir::cleanPath(path));
        } else if (info.isFile()) {
            take(QDir::cleanPath(path), info.canonicalFilePath());
        } else if (info.exists()) {
            input.skipped.append({QDir::cleanPath(path), 0, QStringLiteral("is not a regular file; not read"), {}, {}, true});
        } else {
            input.missing << path;
        }
    }

private:
    // A folder's results files, in the order of their paths. `shown` is the
    // folder as the user named it, `canonical` the same resolved.
    void folder(const QString &canonical, const QString &shown)
    {
        QList<std::pair<QString, QString>> found; // shown path, canonical path
        searchFolder(canonical, shown, found);
        // A copy "… (1).txt" after the file it copies, so that it is the one reported as the copy.
        static const QRegularExpression copyNumber(QStringLiteral(" ?\\([0-9]+\\)(?=\\.txt$)"),
                                                   QRegularExpression::CaseInsensitiveOption);
        // path without copy number, whether a copy, path, canonical path
        QList<std::tuple<QString, bool, QString, QString>> ordered;
        for (const auto &[path, key] : found) {
            const QString original = path.contains(u'(') ? QString(path).remove(copyNumber) : path;
            ordered.append({original, original.size() != path.size(), path, key});
        }
        if (!std::is_sorted(ordered.begin(), ordered.end())) // as listed, folder by folder, most often
            std::sort(ordered.begin(), ordered.end());
        for (const auto &[original, copy, path, key] : ordered)
            take(path, key);
    }

    void searchFolder(const QString &canonical, const QString &shown, QList<std::pair<QString, QString>> &found)
    {
        const FolderListing listing = listFolder(canonical);
        const QString prefix = shown == u'.' ? QString() : shown + u'/';
        // Names that are not UTF-8, such as Windows-1251 names from an archive
        // made on Windows, cannot be named to open them.
        for (const QString &name : listing.namesNotUtf8)
            input.skipped.append({prefix + name, 0,
                                  QStringLiteral("has a name that is not UTF-8, shown here as Windows-1251 (from an "
                                                 "archive made on Windows?); rename it to read it"),
                                  {}, {}, true});
        const QString canonicalPrefix = canonical.endsWith(u'/') ? canonical : canonical + u'/';
        for (const FolderEntry &entry : listing.entries) {
            const QString path = prefix + entry.name;
            if (!entry.isDir && isItemSidecarName(entry.name))
                continue;
            if (const QString reason = reasonToSkip(entry); !reason.isEmpty())
                input.skipped.append({path, 0, reason, {}, {}, true});
            else if (entry.isDir)
                searchFolder(canonicalPrefix + entry.name, path, found);
            else
                found.append({path, canonicalPrefix + entry.name});
        }
    }

    // A file named twice, or also inside a folder named, counts once.
    void take(const QString &path, const QString &key)
    {
        if (!seen.contains(key)) {
            seen.insert(key);
            (isItemFileName(path) ? input.itemFiles : input.files) << path;
        }
    }

    InputFiles &input;
    QSet<QString> seen;
};

} // namespace

InputFiles findResultsFiles(const QStringList &arguments)
{
    InputFiles input;
    Search search(input);
    for (const QString &argument : arguments)
        search.argument(argument);
    return input;
}
