#include "collect/CsvTable.h"

#include "engine/FieldChecks.h"
#include "engine/ResultLines.h"

namespace {

struct Dialect
{
    QChar separator;
    QChar decimalSeparator;
    bool guardFormulas;
};

Dialect dialectOf(CsvStyle style)
{
    if (style == CsvStyle::Excel)
        return {u';', u',', true};
    return {u',', u'.', false};
}

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

void appendField(QString &out, QString value, const Dialect &dialect)
{
    if (dialect.guardFormulas && looksLikeFormula(value))
        value.prepend(u'\'');
    if (!needsQuotes(value, dialect.separator)) {
        out += value;
        return;
    }
    out += u'"';
    out += QString(value).replace(u'"', QStringLiteral("\"\""));
    out += u'"';
}

QString cellText(int index, const QString &value, const Dialect &dialect)
{
    if (resultLines()[index].rule.kind != FieldKind::Decimal || !isDecimalText(value))
        return value;
    QString number = value;
    for (QChar &c : number)
        if (c == u',' || c == u'.')
            c = dialect.decimalSeparator;
    return number;
}

} // namespace

QByteArray csvTable(const QList<ResultsRow> &rows, CsvStyle style)
{
    const Dialect dialect = dialectOf(style);
    QString out;
    out.reserve((rows.size() + 1) * 1024);

    out += QStringLiteral("file");
    for (const ResultLine &line : resultLines())
        out += dialect.separator + line.field;
    out += QStringLiteral("\r\n");

    for (const ResultsRow &row : rows) {
        appendField(out, row.file, dialect);
        for (int i = 0; i < resultsLineCount; ++i) {
            out += dialect.separator;
            appendField(out, cellText(i, row.values[i], dialect), dialect);
        }
        out += QStringLiteral("\r\n");
    }

    const QByteArray bytes = out.toUtf8();
    return style == CsvStyle::Excel ? "\xEF\xBB\xBF" + bytes : bytes;
}
