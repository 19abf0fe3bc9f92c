#include "forms/Unit12.h"

#include "forms/Unit13.h"

#include <QPushButton>
#include <QVBoxLayout>

TForm12::TForm12(QWidget *owner)
    : Form(QStringLiteral("Прогрессивные матрицы Равена"), owner)
{
    Edit105 = addSubjectField(QStringLiteral("Edit105"));
    Button1 = new QPushButton(QStringLiteral("Дальше"));
    Button1->setObjectName(QStringLiteral("Button1"));
    body()->addWidget(Button1);
    body()->addStretch();
    connect(Button1, &QPushButton::clicked, this, &TForm12::Button1Click);
}

void TForm12::Button1Click()
{
    guarded(QStringLiteral("Неизвестная ошибка!"), [this] { forwardTo<TForm13>(); });
}
