#include "collect/ResultsText.h"

#include "collect/CodePages.h"
#include "engine/ResultLines.h"

#include <QStringDecoder>
#include <tuple>

namespace {

bool hasCyrillic(const QString &text)
{
    return std::any_of(text.begin(), text.end(), [](QChar c) { return c.script() == QChar::Script_Cyrillic; });
}

// Whether the bytes hold a byte of 0x80 or above, and none where UTF-8 has
// no place for it: a continuation byte (10xxxxxx) without its lead, a lead
// without its continuations, or no lead at all (11111xxx). The first such
// byte, in a Windows-1251 text most often its first Cyrillic letter, ends the
// search; whatever passes is decoded in full to tell.
bool mayBeUtf8BeyondAscii(const QByteArray &bytes)
{
    bool beyondAscii = false;
    const auto *byte = reinterpret_cast<const unsigned char *>(bytes.constData());
    const auto *const end = byte + bytes.size();
    while (byte < end) {
        const unsigned char lead = *byte++;
        if (lead < 0x80)
            continue;
        beyondAscii = true;
        const int continuations = lead < 0xC0 ? -1 : lead < 0xE0 ? 1 : lead < 0xF0 ? 2 : lead < 0xF8 ? 3 : -1;
        if (continuations < 0)
            return false;
        for (int i = 0; i < continuations && byte < end; ++i)
            if ((*byte++ & 0xC0) != 0x80)
                return false;
    }
    return beyondAscii;
}

// A Windows-1251 text with Cyrillic letters is almost never valid UTF-8, so
// valid UTF-8 holding Cyrillic letters was saved again by an editor.
std::optional<QString> asResavedUtf8(const QByteArray &bytes)
{
    if (!mayBeUtf8BeyondAscii(bytes))
        return std::nullopt;
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    const QString text = utf8(bytes);
    if (utf8.hasError() || !hasCyrillic(text))
        return std::nullopt;
    return text;
}

QStringList splitLines(const QString &text)
{
    const QChar *const begin = text.constData();
    const QChar *const end = begin + text.size();
    // Room made for the lines of a results file, so that each is put in its
    // place: short lines cost less that way than appended one by one.
    QStringList lines(resultsLineCount);
    qsizetype count = 0;
    for (const QChar *start = begin; start < end; ++count) {
        const QChar *lineEnd = std::find(start, end, u'\n');
        const QChar *const next = lineEnd == end ? end : lineEnd + 1; // the line end of the last line starts no line
        while (lineEnd > start && lineEnd[-1] == u'\r')
            --lineEnd;
        if (count == lines.size())
            lines.resize(count * 2);
        lines[count] = QString::fromRawData(start, lineEnd - start);
        start = next;
    }
    lines.resize(count);
    return lines;
}

} // namespace

ResultsText decodeResultsText(const QByteArray &bytes)
{
    ResultsText result;
    QString text;
    if (const auto marked = QStringConverter::encodingForData(bytes)) {
        QStringDecoder decoder(*marked, QStringConverter::Flag::Stateless); // drops the byte-order mark
        text = decoder(bytes);
        result.resavedAs = QString::fromLatin1(QStringConverter::nameForEncoding(*marked));
    } else if (const auto utf8 = asResavedUtf8(bytes)) {
        text = *utf8;
        result.resavedAs = QStringLiteral("UTF-8");
    } else {
        CodePage page;
        std::tie(text, page) = decodeLikeliestCodePage(bytes);
        if (page != CodePage::Windows1251)
            result.resavedAs = codePageName(page);
    }
    result.text = text;
    result.lines = splitLines(result.text);
    return result;
}
