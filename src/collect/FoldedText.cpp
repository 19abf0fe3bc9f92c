#include "collect/FoldedText.h"

namespace {

// The folded form of a Latin or Russian letter, or of any other character
// whose case folding is the character itself; 0 for any other character.
char16_t foldedSimply(char16_t c)
{
    if (c < 0x80)
        return c >= u'A' && c <= u'Z' ? c + 0x20 : c;
    if (c >= u'А' && c <= u'Я')
        return c + 0x20;
    if (c >= u'а' && c <= u'я')
        return c;
    if (c == u'Ё' || c == u'ё')
        return u'е';
    return 0;
}

} // namespace

// Names are nearly always Latin or Russian letters, folded here one by one
// without Qt's general folding, which is taken for any other letter.
QString folded(QStringView text)
{
    const QStringView inner = text.trimmed();
    QString result(inner.size(), Qt::Uninitialized);
    QChar *out = result.data();
    for (const QChar c : inner) {
        const char16_t simple = foldedSimply(c.unicode());
        if (simple == 0)
            return inner.toString().toCaseFolded().replace(u'ё', u'е');
        *out++ = simple;
    }
    return result;
}
