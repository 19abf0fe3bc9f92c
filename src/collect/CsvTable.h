#pragma once

#include "collect/Collector.h"

#include <QByteArray>
#include <QList>

enum class CsvStyle
{
    // RFC 4180, UTF-8, commas, decimal points: for R, Python and SPSS.
    Plain,
    // UTF-8 with a byte-order mark, semicolons, decimal commas: for a
    // spreadsheet under Russian settings.
    Excel,
};

// A header row ("file" and the 69 field names), then one row per results
// file; rows end in CR LF.
QByteArray csvTable(const QList<ResultsRow> &rows, CsvStyle style);
