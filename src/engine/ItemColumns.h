#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

// What a column of the item file holds, for the file's sidecar, the
// collector's codebook and its data package: one table for all three. Types
// as the codebook names them: text, code, integer, real.
struct ItemColumnMeaning
{
    QString name;
    QString type;
    QString unit; // "русский / English"; empty when the values have none
    std::optional<double> minimum;
    QString russian;
    QString english;
    QList<QStringList> codes; // code, Russian, English
};

// The item file's columns in file order.
const QList<ItemColumnMeaning> &itemFileColumns();

// The collector's long item table: subject, run, resumed, then the item file's columns.
const QList<ItemColumnMeaning> &itemColumnMeanings();

// The codebook's rows of the long item table: column, line (empty), type,
// unit, minimum, maximum, descriptions and codes in Russian and English.
QList<QStringList> itemCodebookRows();
