#pragma once

#include "collect/CollectRequest.h"
#include "collect/OutputFiles.h"

#include <QList>
#include <optional>

// Every file a collection writes, each with the option that names it, known
// before any is written: the table, codebook, problems, key and the key
// before, the item table, and each file of the data package.
struct OutputPlan
{
    QList<OutputFile> files;
    QString packageFolder; // empty without a data package

    static OutputPlan of(const CollectRequest &request);

    // The path of a file of the data package.
    QString packageFile(const char *name) const;
};

// Why the plan cannot be carried out, to be said before anything is
// written: two files that meet by any spelling or link, a file that is not a
// regular file, an output inside the package's folder (which is replaced
// whole), or a package folder that holds files of its own.
std::optional<QString> planRefused(const OutputPlan &plan);
