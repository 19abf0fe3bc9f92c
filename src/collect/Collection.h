#pragma once

#include "collect/CollectRequest.h"
#include "collect/Collector.h"
#include "collect/ErrorLog.h"
#include "collect/InputFiles.h"
#include "collect/ItemTable.h"
#include "collect/KeyFile.h"
#include "collect/SubjectCodes.h"

#include <QByteArray>
#include <QList>
#include <functional>
#include <optional>

// What a collection found: the rows with their subjects' codes and runs,
// every problem, the key to extend and the item data.
struct Collection
{
    QList<ResultsRow> rows;
    QList<Problem> problems; // each also reported on standard error
    qsizetype resultsLeftOut = 0;
    qsizetype notRead = 0; // files and folders seen and not read
    SubjectCodes codes{false};
    KeyForm keyForm;
    QByteArray keyBefore; // the key written before; null when there was none
    ItemCollection items;
};

// Reads the key written before, then the files found, and pairs the item
// files when the request wants item data. Nothing when the key cannot be
// used, after saying why.
std::optional<Collection> collect(const CollectRequest &request, const InputFiles &input, ErrorLog &log,
                                  const std::function<void(const QString &)> &say);
