#include "forms/Unit2.h"

#include "forms/Unit4.h"

#include <QPushButton>
#include <QVBoxLayout>

TForm2::TForm2(QWidget *owner)
    : Form(QStringLiteral("Братья, сёстры"), owner)
{
    Edit1 = addSubjectField(QStringLiteral("Edit1"));
    Button201 = new QPushButton(QStringLiteral("Дальше"));
    Button201->setObjectName(QStringLiteral("Button201"));
    body()->addWidget(Button201);
    body()->addStretch();
    connect(Button201, &QPushButton::clicked, this, &TForm2::Button201Click);
}

void TForm2::Button201Click()
{
    guarded(QStringLiteral("Неизвестная ошибка!"), [this] { forwardTo<TForm4>(); });
}
