#include "forms/Unit10.h"

#include "forms/Unit7.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

TForm10::TForm10(QWidget *owner)
    : Form(QStringLiteral("Решение математических задач. Начало "), owner)
{
    Edit105 = addSubjectField(QStringLiteral("Edit105"));
    body()->addSpacing(12);
    QLabel *title = makeLabel(QStringLiteral("Label1"), QStringLiteral("Решите задачи"), TextStyle::Heading);
    title->setAlignment(Qt::AlignCenter);
    body()->addWidget(title);
    addCentredText(QStringLiteral("Label42"), TForm7::instructions, 753);
    body()->addSpacing(12);

    Button1 = new QPushButton(QStringLiteral("Начать"));
    Button1->setObjectName(QStringLiteral("Button1"));
    body()->addWidget(Button1, 0, Qt::AlignCenter);
    body()->addStretch();
    connect(Button1, &QPushButton::clicked, this, &TForm10::Button1Click);
}

void TForm10::Button1Click()
{
    guarded(QStringLiteral("Неизвестная ошибка!"), [this] {
        forwardTo<TForm7>([](TForm7 *sheet) {
            // The 60 and 50 minutes count from here.
            sheet->Timer1->start();
            sheet->Timer2->start();
            sheet->Edit16->setText(QString::number(run().InfoNameLength));
            sheet->Edit17->setText(QString::number(run().InfoSurnameLength));
        });
    });
}
