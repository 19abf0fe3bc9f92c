#include "engine/ChoiceCodes.h"

#include "engine/ResultLines.h"

#include <algorithm>

QStringList choiceCodes(QAnyStringView field, const QStringList &meanings)
{
    const auto &lines = resultLines();
    const auto line = std::find_if(lines.begin(), lines.end(), [&](const ResultLine &l) { return QAnyStringView::equal(l.field, field); });
    if (line == lines.end())
        qFatal("no results line holds %s", qPrintable(field.toString()));
    QStringList codes;
    for (const QString &meaning : meanings) {
        const auto &labels = line->rule.codes;
        const auto label = std::find_if(labels.begin(), labels.end(),
                                        [&](const CodeLabel &l) { return l.english == meaning; });
        if (label == labels.end())
            qFatal("the line of %s has no code for \"%s\"", qPrintable(field.toString()), qPrintable(meaning));
        codes << label->code;
    }
    return codes;
}
