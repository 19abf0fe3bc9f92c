#pragma once

#include "collect/CsvTable.h"

#include <QByteArray>
#include <QList>

// The files of a data package, in its folder.
inline constexpr char resultsTableFile[] = "results.csv";
inline constexpr char itemTableFile[] = "items.csv";
inline constexpr char codebookFile[] = "codebook.csv";
inline constexpr char packageDescriptorFile[] = "datapackage.json";

// datapackage.json: a Frictionless tabular data package of the results table
// with the given columns, the long item table when there is one, and the
// codebook; each column with its Table Schema type, description and unit,
// range as constraints and codes as enum; "" and "n/a" missing.
QByteArray dataPackageDescriptor(const QList<TableColumn> &columns, bool withItems);
