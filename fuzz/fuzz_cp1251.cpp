// The Windows-1251 encoder on any UTF-16 text, lone surrogates too: one byte
// per character, '?' for exactly those it cannot hold. The decoder on any
// bytes: each byte but the unassigned 0x98 comes back on encoding.

#include "Property.h"
#include "engine/Cp1251.h"

#include <cstdint>
#include <cstring>

namespace {

void checkEncoding(const QString &text)
{
    const QByteArray bytes = toCp1251(text);
    const QString decoded = fromCp1251(bytes);
    require(decoded.size() == bytes.size(), "one character per byte");
    qsizetype at = 0;
    for (qsizetype i = 0; i < text.size(); ++i, ++at) {
        require(at < decoded.size(), "no character is lost");
        const bool pair = text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate();
        const QString character = text.mid(i, pair ? 2 : 1);
        if (pair)
            ++i;
        const QChar expected = encodableInCp1251(character) ? character[0] : QChar(u'?');
        require(decoded[at] == expected, "a character is kept, or '?' when it cannot be");
    }
    require(at == decoded.size(), "no character is added");
    require(encodableInCp1251(text) == (decoded == text), "encodable text comes back whole");
}

void checkDecoding(const QByteArray &bytes)
{
    const QString text = fromCp1251(bytes);
    require(text.size() == bytes.size(), "one character per byte");
    QByteArray expected = bytes;
    expected.replace('\x98', '?');
    require(toCp1251(text) == expected, "each assigned byte comes back");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    QString text(qsizetype(size / 2), Qt::Uninitialized);
    if (size >= 2)
        std::memcpy(text.data(), data, size / 2 * 2);
    checkEncoding(text);
    checkDecoding(QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)));
    return 0;
}
