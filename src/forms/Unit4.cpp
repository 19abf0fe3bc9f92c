#include "forms/Unit4.h"

#include "forms/Unit11.h"

#include <QPushButton>
#include <QVBoxLayout>

TForm4::TForm4(QWidget *owner)
    : Form(QStringLiteral("Ведущая рука, ведущий глаз"), owner)
{
    Edit12 = addSubjectField(QStringLiteral("Edit12"));
    Button1 = new QPushButton(QStringLiteral("Дальше"));
    Button1->setObjectName(QStringLiteral("Button1"));
    body()->addWidget(Button1);
    body()->addStretch();
    connect(Button1, &QPushButton::clicked, this, &TForm4::Button1Click);
}

void TForm4::Button1Click()
{
    guarded(QStringLiteral("Неизвестная ошибка!"), [this] { forwardTo<TForm11>(); });
}
