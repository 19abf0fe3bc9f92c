#include "collect/ItemPrivacy.h"

#include "engine/ItemFile.h"
#include "engine/ItemIds.h"
#include "engine/MathKey.h"

#include <QRegularExpression>
#include <QSet>

namespace {

// The ids of the problems whose key depends on the name's and surname's
// lengths: those whose keys differ between two pairs of lengths.
const QSet<QString> &nameDependentItems()
{
    static const QSet<QString> items = [] {
        QSet<QString> dependent;
        const MathAnswers one = mathKey(2, 3);
        const MathAnswers other = mathKey(7, 11);
        for (int index = 0; index < mathItemCount; ++index)
            if (one[index] != other[index])
                dependent.insert(index == mathItemCount - 1 ? expressionItem : mathItem(index + 1));
        return dependent;
    }();
    return items;
}

} // namespace

void leaveOutOfItems(ItemCollection &items, Privacy privacy)
{
    if (privacy == Privacy::Named)
        return;
    static const QRegularExpression nameLengths(QStringLiteral("И\\s*=\\s*\\d+\\s*,?\\s*Ф\\s*=\\s*\\d+"));
    for (RunItems &run : items.runs)
        for (QStringList &row : run.rows) {
            if (row[ItemIdColumn] == u"message-shown")
                row[StimulusColumn] = missingValue;
            if (privacy != Privacy::Deidentified)
                continue;
            if (row[StimulusColumn].contains(nameLengths)) {
                row[StimulusColumn] = row[StimulusColumn].remove(nameLengths).trimmed();
                if (row[StimulusColumn].isEmpty())
                    row[StimulusColumn] = missingValue;
            }
            if (nameDependentItems().contains(row[ItemIdColumn])) {
                row[CorrectResponseColumn] = missingValue;
                row[ResponseColumn] = missingValue;
            }
        }
}
