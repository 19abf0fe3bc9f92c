#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>
#include <string>

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
    // Where the records written go: at the start of a file, after the
    // byte-order mark of the Excel style, or after records written before.
    enum Place
    {
        StartOfFile,
        Continuation,
    };

    explicit CsvWriter(CsvStyle style, qsizetype expectedSize = 0, Place place = StartOfFile);

    void field(const QString &value);
    void record(const QStringList &fields);
    void endRecord();

    QChar decimalSeparator() const { return decimal; }
    QString text() const;
    // The text in UTF-8, after a byte-order mark at the start of a file in the Excel style.
    QByteArray bytes() const;

private:
    void quoteIfNeeded(const QString &value);
    void append(const QString &value);

    CsvStyle style;
    bool byteOrderMark;
    QChar separator;
    QChar decimal;
    // A standard string grows at the end at the cost of a copy, a table of
    // thousands of rows being mostly short fields.
    std::u16string written;
    bool startOfRecord = true;
};

// Whether a spreadsheet would take the text for a formula; the Excel style
// writes such a text after an apostrophe.
bool looksLikeFormula(const QString &value);

// The records of a CSV text, each with the line it starts on.
struct CsvRecords
{
    QList<QStringList> records;
    QList<int> lines;            // from 1
    bool lastHasLineEnd = true;  // false when the text stops inside a record, as a cut-off file does
    int unclosedQuoteLine = 0;   // the line of a quote left open, 0 when none
};

// The records of a CSV text with the given separator, as a spreadsheet may
// save it again: a leading byte-order mark dropped, records ending in CR LF
// or LF, the last perhaps in none.
CsvRecords readCsv(QString text, QChar separator);
