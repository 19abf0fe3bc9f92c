#include "forms/Unit5.h"

#include "forms/Unit6.h"

#include <QPushButton>
#include <QVBoxLayout>

TForm5::TForm5(QWidget *owner)
    : Form(QStringLiteral("Дихотическое прослушивание. Серия №1"), owner)
{
    Edit105 = addSubjectField(QStringLiteral("Edit105"));
    Button14 = new QPushButton(QStringLiteral("Дальше"));
    Button14->setObjectName(QStringLiteral("Button14"));
    body()->addWidget(Button14);
    body()->addStretch();
    connect(Button14, &QPushButton::clicked, this, &TForm5::Button14Click);
}

void TForm5::Button14Click()
{
    guarded(QStringLiteral("Неизвестная ошибка!"), [this] { forwardTo<TForm6>(); });
}
