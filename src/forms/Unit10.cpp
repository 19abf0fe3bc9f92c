#include "forms/Unit10.h"

#include "windows/Texts.h"

#include <QPushButton>
#include <QVBoxLayout>

TForm10::TForm10(Session &session, QWidget *owner)
    : Form(session, QStringLiteral("Решение математических задач. Начало "), owner)
{
    Edit105 = addTitleBlock(QStringLiteral("Edit105"), {QStringLiteral("Label1"), QStringLiteral("Решите задачи"),
                                                        QStringLiteral("Label42"), texts::mathInstructions,
                                                        Width::mathInstructions});
    body()->addSpacing(12);

    Button1 = forwardButton(QStringLiteral("Button1"), QStringLiteral("Начать"), &TForm10::Button1Click);
    body()->addWidget(Button1, 0, Qt::AlignCenter);
    body()->addStretch();
}

void TForm10::Button1Click()
{
    guarded(texts::unknownError, [this] {
        forward();
    });
}
