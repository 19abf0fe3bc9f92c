#include "forms/Unit7.h"

#include "forms/Unit8.h"

#include <QPushButton>
#include <QVBoxLayout>

TForm7::TForm7(QWidget *owner)
    : Form(QStringLiteral("Решение математических задач"), owner)
{
    Edit105 = addSubjectField(QStringLiteral("Edit105"));
    Button2 = new QPushButton(QStringLiteral("Дальше"));
    Button2->setObjectName(QStringLiteral("Button2"));
    body()->addWidget(Button2);
    body()->addStretch();
    connect(Button2, &QPushButton::clicked, this, &TForm7::Button2Click);
}

void TForm7::Button2Click()
{
    guarded(QStringLiteral("Неизвестная ошибка!"), [this] { forwardTo<TForm8>(); });
}
