#include "collect/ItemOutputs.h"

#include "collect/Codebook.h"
#include "collect/DataPackage.h"
#include "engine/ItemColumns.h"
#include "collect/ItemTable.h"

#include <QDir>

int writeItemOutputs(const QCommandLineParser &parser, const ItemOptions &options, const QList<ResultsRow> &results,
                     const QStringList &itemFiles, const QList<TableColumn> &columns, CsvStyle style,
                     const ItemOutputStreams &streams)
{
    const ItemCollection items = collectItems(results, itemFiles, streams.report);
    const auto &write = streams.write;
    if (parser.isSet(options.items)) {
        if (items.runs.isEmpty())
            streams.say(QStringLiteral("no item table written, as no item file went into it"));
        else
            write(parser.value(options.items), longItemTable(items, style));
    }

    if (parser.isSet(options.dataPackage) && !results.isEmpty()) {
        const QDir folder(parser.value(options.dataPackage));
        QDir().mkpath(folder.path()); // when it cannot, the first write says why
        const bool withItems = !items.runs.isEmpty();
        const bool written =
            write(folder.filePath(QLatin1String(resultsTableFile)), csvTable(results, columns, CsvStyle::Plain))
            && (!withItems
                || write(folder.filePath(QLatin1String(itemTableFile)), longItemTable(items, CsvStyle::Plain)))
            && write(folder.filePath(QLatin1String(codebookFile)),
                     codebook(columns, CsvStyle::Plain, withItems ? itemCodebookRows() : QList<QStringList>{}));
        if (written)
            write(folder.filePath(QStringLiteral("datapackage.json")), dataPackageDescriptor(columns, withItems));
    }
    return items.leftOut;
}
