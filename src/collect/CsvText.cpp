#include "collect/CsvText.h"

#include "engine/FieldChecks.h"

namespace {

bool needsQuotes(const QString &value, QChar separator)
{
    if (value.isEmpty())
        return false;
    if (value.front().isSpace() || value.back().isSpace())
        return true; // some readers drop the blanks of a bare field
    return std::any_of(value.begin(), value.end(),
                       [&](QChar c) { return c == separator || c == u'"' || c == u'\r' || c == u'\n'; });
}

// A spreadsheet runs a text that starts like a formula; a leading apostrophe
// keeps a subject's "=..." or "+7 ..." a text.
bool looksLikeFormula(const QString &value)
{
    static const QString starts = QStringLiteral("=+-@\t\r");
    return !value.isEmpty() && starts.contains(value.front()) && !isDecimalText(value);
}

} // namespace

CsvWriter::CsvWriter(CsvStyle style, qsizetype expectedSize)
    : style(style)
    , separator(style == CsvStyle::Excel ? u';' : u',')
    , decimal(style == CsvStyle::Excel ? u',' : u'.')
{
    text.reserve(expectedSize);
}

void CsvWriter::field(QString value)
{
    if (!startOfRecord)
        text += separator;
    startOfRecord = false;
    if (style == CsvStyle::Excel && looksLikeFormula(value))
        value.prepend(u'\'');
    if (!needsQuotes(value, separator)) {
        text += value;
        return;
    }
    text += u'"';
    text += value.replace(u'"', QStringLiteral("\"\""));
    text += u'"';
}

void CsvWriter::record(const QStringList &fields)
{
    for (const QString &value : fields)
        field(value);
    endRecord();
}

void CsvWriter::endRecord()
{
    text += QStringLiteral("\r\n");
    startOfRecord = true;
}

QByteArray CsvWriter::bytes() const
{
    const QByteArray utf8 = text.toUtf8();
    return style == CsvStyle::Excel ? "\xEF\xBB\xBF" + utf8 : utf8;
}

std::optional<QList<QStringList>> readCsv(QString text, QChar separator)
{
    if (text.startsWith(QChar::ByteOrderMark))
        text.remove(0, 1);
    QList<QStringList> records;
    QStringList record;
    QString field;
    bool inQuotes = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (inQuotes) {
            if (c != u'"')
                field += c;
            else if (i + 1 < text.size() && text[i + 1] == u'"')
                field += text[++i];
            else
                inQuotes = false;
        } else if (c == u'"') {
            inQuotes = true;
        } else if (c == separator) {
            record << std::exchange(field, {});
        } else if (c == u'\n' || (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')) {
            record << std::exchange(field, {});
            records << std::exchange(record, {});
            i += c == u'\r';
        } else {
            field += c;
        }
    }
    if (inQuotes)
        return std::nullopt;
    if (!field.isEmpty() || !record.isEmpty())
        records << (record << field); // the last record without its line end
    return records;
}
