#include "forms/Unit11.h"

#include "forms/Unit5.h"

#include <QPushButton>
#include <QVBoxLayout>

TForm11::TForm11(QWidget *owner)
    : Form(QStringLiteral("Формулы сокращённого умножения"), owner)
{
    Edit12 = addSubjectField(QStringLiteral("Edit12"));
    Button1 = new QPushButton(QStringLiteral("Дальше"));
    Button1->setObjectName(QStringLiteral("Button1"));
    body()->addWidget(Button1);
    body()->addStretch();
    connect(Button1, &QPushButton::clicked, this, &TForm11::Button1Click);
}

void TForm11::Button1Click()
{
    guarded(QStringLiteral("Неизвестная ошибка!"), [this] { forwardTo<TForm5>(); });
}
