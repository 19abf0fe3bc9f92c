#pragma once

#include <QButtonGroup>
#include <QStringList>
#include <QWidget>

class QRadioButton;

// Radio items of one question inside one container, laid out in columns; no
// item is selected at first. clicked(index) follows every click of an item.
class RadioGroup : public QWidget
{
    Q_OBJECT
public:
    RadioGroup(const QString &objectName, const QString &question, const QStringList &items, int columns = 1,
               QWidget *parent = nullptr);

    int itemIndex() const;          // -1 when nothing is selected
    // The code of the selected item, codes being given in item order.
    QString code(const QStringList &codes) const;
    void setItemIndex(int index);   // -1 clears the selection
    QRadioButton *item(int index) const;
    int count() const;

signals:
    void clicked(int index);

private:
    QButtonGroup buttons;
};
