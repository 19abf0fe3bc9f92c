#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

enum class CsvStyle
{
    // RFC 4180, UTF-8, commas, decimal points: for R, Python and SPSS.
    Plain,
    // UTF-8 with a byte-order mark, semicolons, decimal commas, and texts
    // that look like formulas kept texts: for a spreadsheet under Russian
    // settings.
    Excel,
};

// Writes CSV records field by field; every record ends in CR LF.
class CsvWriter
{
public:
    explicit CsvWriter(CsvStyle style, qsizetype expectedSize = 0);

    void field(QString value);
    void record(const QStringList &fields);
    void endRecord();

    QChar decimalSeparator() const { return decimal; }
    QByteArray bytes() const;

private:
    CsvStyle style;
    QChar separator;
    QChar decimal;
    QString text;
    bool startOfRecord = true;
};

// The records of a CSV text with the given separator, as a spreadsheet may
// save it again: a leading byte-order mark dropped, records ending in CR LF
// or LF, the last perhaps in none; nothing when a quote is left open.
std::optional<QList<QStringList>> readCsv(QString text, QChar separator);
