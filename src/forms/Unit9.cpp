#include "forms/Unit9.h"

#include "forms/Unit12.h"

#include <QPushButton>
#include <QVBoxLayout>

TForm9::TForm9(QWidget *owner)
    : Form(QStringLiteral("Необычный калькулятор. Ввод ответов"), owner)
{
    Edit105 = addSubjectField(QStringLiteral("Edit105"));
    Button37 = new QPushButton(QStringLiteral("Готово"));
    Button37->setObjectName(QStringLiteral("Button37"));
    body()->addWidget(Button37);
    body()->addStretch();
    connect(Button37, &QPushButton::clicked, this, &TForm9::Button37Click);
}

void TForm9::Button37Click()
{
    guarded(QStringLiteral("Неизвестная ошибка!"), [this] { forwardTo<TForm12>(); });
}
