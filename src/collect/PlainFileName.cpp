#include "collect/PlainFileName.h"

#include <algorithm>

std::optional<QStringView> plainResultsFileStem(QStringView name)
{
    if (!name.endsWith(u".txt"))
        return std::nullopt;
    const QStringView numbered = name.chopped(4);
    const qsizetype underscore = numbered.lastIndexOf(u'_');
    if (underscore < 1 || underscore == numbered.size() - 1)
        return std::nullopt;
    const QStringView number = numbered.sliced(underscore + 1);
    if (!std::all_of(number.begin(), number.end(), [](QChar c) { return c >= u'0' && c <= u'9'; }))
        return std::nullopt;
    const QStringView stem = numbered.first(underscore);
    // What a pattern's "." may not match: a line break of any convention, or half a surrogate pair.
    const auto unmatched = [](QChar c) {
        return c < u' ' || c == QChar(0x85) || c == QChar(0x2028) || c == QChar(0x2029) || c.isSurrogate();
    };
    if (std::any_of(stem.begin(), stem.end(), unmatched))
        return std::nullopt;
    return stem;
}
