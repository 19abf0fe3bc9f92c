#include "windows/RadioGroup.h"

#include <QGridLayout>
#include <QRadioButton>

RadioGroup::RadioGroup(const QString &objectName, const QString &question, const QStringList &items, int columns,
                       QWidget *parent)
    : QWidget(parent)
{
    setObjectName(objectName);
    setAccessibleName(question);
    auto *grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setHorizontalSpacing(24);
    const int rows = (int(items.size()) + columns - 1) / columns;
    for (int i = 0; i < items.size(); ++i) {
        auto *button = new QRadioButton(items[i], this);
        button->setAccessibleDescription(question);
        buttons.addButton(button, i);
        grid->addWidget(button, i % rows, i / rows);
    }
    grid->setColumnStretch(columns, 1);
    connect(&buttons, &QButtonGroup::idClicked, this, &RadioGroup::clicked);
}

int RadioGroup::itemIndex() const
{
    return buttons.checkedId();
}

QString RadioGroup::code(const QStringList &codes) const
{
    return codes.value(itemIndex());
}

void RadioGroup::setItemIndex(int index)
{
    if (index >= 0)
        return buttons.button(index)->setChecked(true);
    // An exclusive group never unchecks its last checked button by itself.
    buttons.setExclusive(false);
    for (QAbstractButton *button : buttons.buttons())
        button->setChecked(false);
    buttons.setExclusive(true);
}

QRadioButton *RadioGroup::item(int index) const
{
    return static_cast<QRadioButton *>(buttons.button(index));
}

int RadioGroup::count() const
{
    return int(buttons.buttons().size());
}
