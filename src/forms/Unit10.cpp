#include "forms/Unit10.h"

#include "forms/Unit7.h"

#include <QPushButton>
#include <QVBoxLayout>

TForm10::TForm10(QWidget *owner)
    : Form(QStringLiteral("Решение математических задач. Начало "), owner)
{
    Edit105 = addSubjectField(QStringLiteral("Edit105"));
    Button1 = new QPushButton(QStringLiteral("Начать"));
    Button1->setObjectName(QStringLiteral("Button1"));
    body()->addWidget(Button1);
    body()->addStretch();
    connect(Button1, &QPushButton::clicked, this, &TForm10::Button1Click);
}

void TForm10::Button1Click()
{
    guarded(QStringLiteral("Неизвестная ошибка!"), [this] { forwardTo<TForm7>(); });
}
