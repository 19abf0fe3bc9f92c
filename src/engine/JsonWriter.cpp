#include "engine/JsonWriter.h"

#include <QLocale>
#include <cmath>

void JsonWriter::beforeValue()
{
    if (!keyed && !first)
        out += ',';
    first = false;
    keyed = false;
}

JsonWriter &JsonWriter::open(char bracket)
{
    beforeValue();
    out += bracket;
    first = true;
    return *this;
}

JsonWriter &JsonWriter::close(char bracket)
{
    out += bracket;
    first = false;
    return *this;
}

JsonWriter &JsonWriter::key(const char *name)
{
    beforeValue();
    out += '"';
    out += name;
    out += "\":";
    keyed = true;
    return *this;
}

JsonWriter &JsonWriter::value(const QString &text)
{
    beforeValue();
    out += '"';
    for (const char c : text.toUtf8()) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (byte < 0x20) {
            static const char hex[] = "0123456789abcdef";
            out += "\\u00";
            out += hex[byte >> 4];
            out += hex[byte & 0xf];
        } else {
            out += c;
        }
    }
    out += '"';
    return *this;
}

JsonWriter &JsonWriter::value(qint64 number)
{
    beforeValue();
    out += QByteArray::number(number);
    return *this;
}

JsonWriter &JsonWriter::value(double number)
{
    if (!std::isfinite(number))
        return null();
    beforeValue();
    out += QByteArray::number(number, 'g', QLocale::FloatingPointShortest);
    return *this;
}

JsonWriter &JsonWriter::value(const std::optional<qint64> &number)
{
    return number ? value(*number) : null();
}

JsonWriter &JsonWriter::value(const QStringList &texts)
{
    beginArray();
    for (const QString &text : texts)
        value(text);
    return endArray();
}

JsonWriter &JsonWriter::null()
{
    beforeValue();
    out += "null";
    return *this;
}
