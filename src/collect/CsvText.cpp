#include "collect/CsvText.h"

#include "engine/FieldChecks.h"

namespace {

bool needsQuotes(QStringView value, char16_t separator)
{
    if (value.isEmpty())
        return false;
    if (value.front().isSpace() || value.back().isSpace())
        return true; // some readers drop the blanks of a bare field
    return std::any_of(value.begin(), value.end(),
                       [&](QChar c) { return c == separator || c == u'"' || c == u'\r' || c == u'\n'; });
}

const QByteArray byteOrderMark = QByteArrayLiteral("\xEF\xBB\xBF");

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
    , byteOrderMarkSize(style == CsvStyle::Excel && place == StartOfFile ? byteOrderMark.size() : 0)
    , separator(style == CsvStyle::Excel ? u';' : u',')
    , decimal(style == CsvStyle::Excel ? u',' : u'.')
    , utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless)
{
    written.reserve(expectedSize);
    if (byteOrderMarkSize > 0)
        written += byteOrderMark;
}

void CsvWriter::field(const QString &value)
{
    if (!startOfRecord)
        written += char(separator.unicode());
    startOfRecord = false;
    if (style == CsvStyle::Excel && looksLikeFormula(value))
        return quoteIfNeeded(u'\'' + value);
    quoteIfNeeded(value);
}

void CsvWriter::quoteIfNeeded(QStringView value)
{
    if (!needsQuotes(value, separator.unicode())) {
        append(value);
        return;
    }
    written += '"';
    if (value.contains(u'"'))
        append(value.toString().replace(u'"', QStringLiteral("\"\"")));
    else
        append(value);
    written += '"';
}

// The table is written in UTF-8 as it is made: a table of thousands of rows
// is mostly short fields, each converted straight into the end of the bytes.
void CsvWriter::append(QStringView value)
{
    const qsizetype start = written.size();
    written.resize(start + utf8.requiredSpace(value.size()));
    const char *const end = utf8.appendToBuffer(written.data() + start, value);
    written.truncate(end - written.constData());
}

void CsvWriter::record(const QStringList &fields)
{
    for (const QString &value : fields)
        field(value);
    endRecord();
}

void CsvWriter::endRecord()
{
    written += "\r\n";
    startOfRecord = true;
}

QString CsvWriter::text() const
{
    return QString::fromUtf8(QByteArrayView(written).sliced(byteOrderMarkSize));
}

QByteArray CsvWriter::bytes() const
{
    return written;
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
