#include "forms/Unit8.h"

#include "forms/Unit9.h"

#include <QPushButton>
#include <QVBoxLayout>

TForm8::TForm8(QWidget *owner)
    : Form(QStringLiteral("Необычный калькулятор"), owner)
{
    Edit105 = addSubjectField(QStringLiteral("Edit105"));
    Button4 = new QPushButton(QStringLiteral("Ввести ответы"));
    Button4->setObjectName(QStringLiteral("Button4"));
    body()->addWidget(Button4);
    body()->addStretch();
    connect(Button4, &QPushButton::clicked, this, &TForm8::Button4Click);
}

void TForm8::Button4Click()
{
    guarded(QStringLiteral("Неизвестная ошибка!"), [this] { forwardTo<TForm9>(); });
}
