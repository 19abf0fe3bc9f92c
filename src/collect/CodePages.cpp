#include "collect/CodePages.h"

#include "engine/Cp1251.h"

#include <array>

namespace {

using UpperHalf = std::array<QChar, 128>; // the characters of bytes 0x80 to 0xFF

UpperHalf koi8rTable()
{
    UpperHalf table;
    table.fill(QChar::ReplacementCharacter);
    const QString small = QStringLiteral("юабцдефгхийклмнопярстужвьызшэщчъ");
    for (int i = 0; i < 32; ++i) {
        table[0x40 + i] = small[i];
        table[0x60 + i] = small[i].toUpper();
    }
    table[0x23] = u'ё';
    table[0x33] = u'Ё';
    return table;
}

UpperHalf cp866Table()
{
    UpperHalf table;
    table.fill(QChar::ReplacementCharacter);
    for (int i = 0; i < 32; ++i)
        table[i] = QChar(u'А' + i);
    for (int i = 0; i < 16; ++i) {
        table[0x20 + i] = QChar(u'а' + i);
        table[0x60 + i] = QChar(u'р' + i);
    }
    table[0x70] = u'Ё';
    table[0x71] = u'ё';
    table[0x7C] = u'№';
    table[0x7F] = QChar(0xA0);
    return table;
}

UpperHalf windows1251Table()
{
    UpperHalf table;
    for (int i = 0; i < 128; ++i)
        table[i] = fromCp1251(QByteArray(1, char(0x80 + i))).front();
    return table;
}

const UpperHalf &tableOf(CodePage page)
{
    static const UpperHalf tables[] = {windows1251Table(), koi8rTable(), cp866Table()};
    return tables[int(page)];
}

// For each code page, which bytes read as a small Cyrillic letter.
const std::array<std::array<bool, 128>, 3> &smallLetters()
{
    static const auto marks = [] {
        std::array<std::array<bool, 128>, 3> result{};
        for (int page = 0; page < 3; ++page)
            for (int i = 0; i < 128; ++i) {
                const QChar c = tableOf(CodePage(page))[i];
                result[page][i] = c.isLower() && c.script() == QChar::Script_Cyrillic;
            }
        return result;
    }();
    return marks;
}

} // namespace

QString codePageName(CodePage page)
{
    static const QString names[] = {QStringLiteral("Windows-1251"), QStringLiteral("KOI8-R"), QStringLiteral("CP866")};
    return names[int(page)];
}

QString decodeCodePage(const QByteArray &bytes, CodePage page)
{
    if (page == CodePage::Windows1251)
        return fromCp1251(bytes);
    const UpperHalf &table = tableOf(page);
    QString text(bytes.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto byte = static_cast<unsigned char>(bytes[i]);
        text[i] = byte < 0x80 ? QChar(byte) : table[byte - 0x80];
    }
    return text;
}

std::pair<QString, CodePage> decodeLikeliestCodePage(const QByteArray &bytes)
{
    const UpperHalf &windows1251 = tableOf(CodePage::Windows1251);
    const auto &small = smallLetters();
    std::array<qsizetype, 3> counts{};
    QString text(bytes.size(), Qt::Uninitialized);
    QChar *out = text.data();
    for (const char b : bytes) {
        const auto byte = static_cast<unsigned char>(b);
        if (byte < 0x80) {
            *out++ = QChar(byte);
            continue;
        }
        *out++ = windows1251[byte - 0x80];
        for (int page = 0; page < 3; ++page)
            counts[page] += small[page][byte - 0x80];
    }
    CodePage best = CodePage::Windows1251;
    for (const CodePage page : {CodePage::Koi8R, CodePage::Cp866})
        if (counts[int(page)] > counts[int(best)])
            best = page;
    if (best != CodePage::Windows1251)
        text = decodeCodePage(bytes, best);
    return {text, best};
}
