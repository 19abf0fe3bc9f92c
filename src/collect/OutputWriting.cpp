#include "collect/OutputWriting.h"

#include "collect/Codebook.h"
#include "collect/DataPackage.h"
#include "collect/PackageFolder.h"
#include "collect/ProblemsTable.h"
#include "engine/ItemColumns.h"
#include "engine/OutputFile.h"

namespace {

// The key's bytes in the form it had, or as UTF-8 with a byte-order mark when
// that form cannot hold every name; nothing when no form reads back as it is.
std::optional<QByteArray> keyBytes(const CollectRequest &request, Collection &collection,
                                   const std::function<void(const QString &)> &say)
{
    KeyForm &form = collection.keyForm;
    const QString key = collection.codes.key(form.style);
    QByteArray bytes = encodeKey(key, form);
    if (decodeKey(bytes).text != key) {
        say(QStringLiteral("the key %1 cannot hold every name in %2; it is written as UTF-8 with a byte-order mark")
                .arg(request.keyFile, formName(form)));
        form = {KeyForm::Utf8, true, form.style};
        bytes = encodeKey(key, form);
    }
    if (decodeKey(bytes).text != key) {
        say(QStringLiteral("the key %1 is not written, as a name in it does not read back as it is").arg(request.keyFile));
        return std::nullopt;
    }
    return bytes;
}

// The data package's files, each in the package's one form: commas and
// decimal points.
FolderFiles packageFiles(const QList<TableColumn> &columns, const Collection &collection)
{
    const bool withItems = !collection.items.runs.isEmpty();
    FolderFiles files{{QLatin1String(resultsTableFile), csvTable(collection.rows, columns, CsvStyle::Plain)}};
    if (withItems)
        files.append({QLatin1String(itemTableFile), longItemTable(collection.items, CsvStyle::Plain)});
    files.append({QLatin1String(codebookFile),
                  codebook(columns, CsvStyle::Plain, withItems ? itemCodebookRows() : QList<QStringList>{})});
    files.append({QLatin1String(packageDescriptorFile), dataPackageDescriptor(columns, withItems)});
    return files;
}

} // namespace

bool writeOutputs(const CollectRequest &request, const OutputPlan &plan, Collection &collection, QIODevice &out,
                  const std::function<void(const QString &)> &say)
{
    bool written = true;
    const auto write = [&](const QString &path, const QByteArray &bytes) {
        const auto why = path.isEmpty() ? writeAll(out, bytes) : writeWholeFile(path, bytes);
        if (why)
            say(QStringLiteral("cannot write %1: %2").arg(path.isEmpty() ? QStringLiteral("the table to standard output") : path, *why));
        written = written && !why;
        return !why;
    };
    if (request.keyed() && !collection.rows.isEmpty()) {
        const std::optional<QByteArray> key = keyBytes(request, collection, say);
        if (!key)
            return false;
        const QByteArray &before = collection.keyBefore;
        if (*key != before
            && !((before.isNull() || write(request.keyFile + QStringLiteral(".bak"), before)) && write(request.keyFile, *key)))
            return false;
    }

    const QList<TableColumn> columns = tableColumns(request.privacy);
    const bool withItems = !collection.items.runs.isEmpty();
    if (request.items) {
        if (withItems)
            write(*request.items, longItemTable(collection.items, request.style));
        else
            say(QStringLiteral("no item table written, as no item file went into it"));
    }
    if (collection.rows.isEmpty())
        say(QStringLiteral("no table written, as no results file went into it"));
    else
        write(request.table, csvTable(collection.rows, columns, request.style));
    if (request.codebook)
        write(*request.codebook, codebook(columns, request.style, request.itemsWanted() ? itemCodebookRows() : QList<QStringList>{}));
    if (request.problems)
        write(*request.problems, problemsTable(collection.problems, request.style));
    if (!plan.packageFolder.isEmpty() && !collection.rows.isEmpty())
        if (const auto why = replaceFolderWhole(plan.packageFolder, packageFiles(columns, collection))) {
            say(QStringLiteral("the data package %1 is left as it was: %2").arg(plan.packageFolder, *why));
            written = false;
        }
    return written;
}
