#include "forms/Unit6.h"

#include "forms/Unit10.h"

#include <QPushButton>
#include <QVBoxLayout>

TForm6::TForm6(QWidget *owner)
    : Form(QStringLiteral("Дихотическое прослушивание. Серия №2"), owner)
{
    Edit105 = addSubjectField(QStringLiteral("Edit105"));
    Button14 = new QPushButton(QStringLiteral("Далее"));
    Button14->setObjectName(QStringLiteral("Button14"));
    body()->addWidget(Button14);
    body()->addStretch();
    connect(Button14, &QPushButton::clicked, this, &TForm6::Button14Click);
}

void TForm6::Button14Click()
{
    guarded(QStringLiteral("Неизвестная ошибка!"), [this] { forwardTo<TForm10>(); });
}
