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

} // namespace

// A spreadsheet runs a text that starts like a formula; a leading apostrophe
// keeps a subject's "=..." or "+7 ..." a text.
bool looksLikeFormula(const QString &value)
{
    static const QString starts = QStringLiteral("=+-@\t\r");
    return !value.isEmpty() && starts.contains(value.front()) && !isDecimalText(value);
}

CsvWriter::CsvWriter(CsvStyle style, qsizetype expectedSize, Place place)
    : style(style)
    , byteOrderMark(style == CsvStyle::Excel && place == StartOfFile)
    , separator(style == CsvStyle::Excel ? u';' : u',')
    , decimal(style == CsvStyle::Excel ? u',' : u'.')
{
    written.reserve(expectedSize);
}

void CsvWriter::field(const QString &value)
{
    if (!startOfRecord)
        written += separator.unicode();
    startOfRecord = false;
    if (style == CsvStyle::Excel && looksLikeFormula(value))
        return quoteIfNeeded(u'\'' + value);
    quoteIfNeeded(value);
}

void CsvWriter::quoteIfNeeded(const QString &value)
{
    if (!needsQuotes(value, separator)) {
        append(value);
        return;
    }
    written += u'"';
    append(QString(value).replace(u'"', QStringLiteral("\"\"")));
    written += u'"';
}

void CsvWriter::append(const QString &value)
{
    written.append(reinterpret_cast<const char16_t *>(value.constData()), size_t(value.size()));
}

void CsvWriter::record(const QStringList &fields)
{
    for (const QString &value : fields)
        field(value);
    endRecord();
}

void CsvWriter::endRecord()
{
    written += u"\r\n";
    startOfRecord = true;
}

QString CsvWriter::text() const
{
    return QString::fromStdU16String(written);
}

QByteArray CsvWriter::bytes() const
{
    const QByteArray utf8 = QStringView(written).toUtf8();
    return byteOrderMark ? "\xEF\xBB\xBF" + utf8 : utf8;
}

CsvRecords readCsv(QString text, QChar separator)
{
    if (text.startsWith(QChar::ByteOrderMark))
        text.remove(0, 1);
    CsvRecords result;
    QStringList record;
    QString field;
    bool inQuotes = false;
    int line = 1;
    int recordLine = 1;
    int quoteLine = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u'\n')
            ++line;
        if (inQuotes) {
            if (c != u'"')
                field += c;
            else if (i + 1 < text.size() && text[i + 1] == u'"')
                field += text[++i];
            else
                inQuotes = false;
        } else if (c == u'"') {
            inQuotes = true;
            quoteLine = line;
        } else if (c == separator) {
            record << std::exchange(field, {});
        } else if (c == u'\n' || (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')) {
            record << std::exchange(field, {});
            result.records << std::exchange(record, {});
            result.lines << std::exchange(recordLine, line + (c == u'\r'));
            i += c == u'\r';
            line += c == u'\r';
        } else {
            field += c;
        }
    }
    if (inQuotes)
        result.unclosedQuoteLine = quoteLine;
    if (!field.isEmpty() || !record.isEmpty()) {
        result.records << (record << field);
        result.lines << recordLine;
        result.lastHasLineEnd = false;
    }
    return result;
}
