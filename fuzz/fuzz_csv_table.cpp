// The collector's table of one row of any values, in both styles: read as
// RFC 4180, it is a header and one row of 72 fields (file, subject, run and
// the 69 values), each as given (a spreadsheet's guard apostrophe aside), a number
// keeping its value.

#include "Property.h"
#include "collect/CsvTable.h"
#include "engine/FieldChecks.h"
#include "engine/ResultLines.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <optional>

namespace {

// Records of fields; a field with a separator, a quote or a line break is
// quoted, a quote inside doubled; every record ends in CR LF. Nothing for a
// text that breaks these rules.
std::optional<QList<QStringList>> strictRecords(const QString &text, QChar separator)
{
    QList<QStringList> records;
    QStringList record;
    QString field;
    bool inQuotes = false;
    bool quoted = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        const bool lineEnd = c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n';
        if (inQuotes) {
            if (c != u'"')
                field += c;
            else if (i + 1 < text.size() && text[i + 1] == u'"')
                field += text[++i];
            else
                inQuotes = false;
        } else if (c == u'"' && field.isEmpty() && !quoted) {
            inQuotes = quoted = true;
        } else if (c == separator || lineEnd) {
            record << field;
            field.clear();
            quoted = false;
            if (lineEnd) {
                records << record;
                record.clear();
                ++i;
            }
        } else if (quoted || c == u'"' || c == u'\r' || c == u'\n') {
            return std::nullopt;
        } else {
            field += c;
        }
    }
    if (inQuotes || quoted || !field.isEmpty() || !record.isEmpty())
        return std::nullopt;
    return records;
}

void checkTable(const ResultsRow &row, CsvStyle style)
{
    QByteArray bytes = csvTable({row}, tableColumns(Privacy::Named), style);
    const bool spreadsheet = style == CsvStyle::Excel;
    if (spreadsheet) {
        require(bytes.startsWith("\xEF\xBB\xBF"), "the spreadsheet's table starts with a byte-order mark");
        bytes.remove(0, 3);
    }
    const auto records = strictRecords(QString::fromUtf8(bytes), spreadsheet ? u';' : u',');
    require(records.has_value(), "the table is RFC 4180");
    require(records->size() == 2, "a header and one row");
    require((*records)[0].size() == resultsLineCount + 3 && (*records)[1].size() == resultsLineCount + 3,
            "rows of the file, the subject, the run and the 69 values");
    const QStringList &cells = (*records)[1];
    auto keeps = [&](const QString &cell, const QString &value) {
        return cell == value || (spreadsheet && cell == QStringLiteral("'") + value);
    };
    require(keeps(cells[0], row.file), "the first field is the file");
    require(keeps(cells[1], row.subject), "the second field is the subject");
    require(cells[2] == QString::number(row.run), "the third field is the run");
    for (int i = 0; i < resultsLineCount; ++i) {
        const QString &value = row.values[i];
        if (resultLines()[i].rule.kind == FieldKind::Decimal && isDecimalText(value))
            require(parseDecimal(cells[i + 3]) == parseDecimal(value), "a number keeps its value");
        else
            require(keeps(cells[i + 3], value), "a field holds the file's value");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzedDataProvider input(data, size);
    ResultsRow row;
    row.file = QString::fromStdString(input.ConsumeRandomLengthString(64));
    row.subject = QString::fromStdString(input.ConsumeRandomLengthString(8));
    row.run = input.ConsumeIntegral<int>();
    for (int i = 0; i < resultsLineCount; ++i)
        row.values << QString::fromStdString(input.ConsumeRandomLengthString(32));
    checkTable(row, CsvStyle::Plain);
    checkTable(row, CsvStyle::Excel);
    return 0;
}
