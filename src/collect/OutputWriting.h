#pragma once

#include "collect/Collection.h"
#include "collect/OutputPlan.h"

#include <QIODevice>
#include <functional>

// Writes the planned outputs of a collection, each whole or not at all: the
// key first, as no table goes out with codes that the key does not hold,
// then the table, the item table, the codebook, the problems and the data
// package. No table without rows. Whether every file was written; each one
// that was not is said with the system's reason.
bool writeOutputs(const CollectRequest &request, const OutputPlan &plan, Collection &collection, QIODevice &out,
                  const std::function<void(const QString &)> &say);
