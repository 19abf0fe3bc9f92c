#pragma once

#include "collect/CsvTable.h"

#include <QString>
#include <QStringList>
#include <optional>

// What a run of the collector is asked to do, as its command line says it.
struct CollectRequest
{
    QStringList paths; // results files and folders
    bool strict = false;
    CsvStyle style = CsvStyle::Plain;
    Privacy privacy = Privacy::Named;
    QString keyOption; // "--pseudonymise" or "--deidentify", when a key is kept
    QString keyFile;
    QString table; // empty for standard output
    std::optional<QString> codebook;
    std::optional<QString> problems;
    std::optional<QString> items;
    std::optional<QString> dataPackage; // the package's folder

    bool keyed() const { return privacy != Privacy::Named; }
    bool itemsWanted() const { return items || dataPackage; }
};
