#include "forms/Unit10.h"

#include "engine/ItemIds.h"
#include "engine/ItemLog.h"
#include "forms/Sequence.h"
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
    addHeading(QStringLiteral("Label1"), QStringLiteral("Решите задачи"));
    addCentredText(QStringLiteral("Label42"), TForm7::instructions, Width::mathInstructions);
    body()->addSpacing(12);

    Button1 = forwardButton(QStringLiteral("Button1"), QStringLiteral("Начать"), &TForm10::Button1Click);
    body()->addWidget(Button1, 0, Qt::AlignCenter);
    body()->addStretch();
}

void TForm10::Button1Click()
{
    guarded(QStringLiteral("Неизвестная ошибка!"), [this] {
        forwardTo<NextAfter<TForm10>>([](TForm7 *sheet) {
            // The 60 and 50 minutes, and the sheet's item times, count from here.
            itemLog().shown(task::math);
            sheet->Timer1->start();
            sheet->Timer2->start();
            sheet->Edit16->setText(QString::number(run().InfoNameLength));
            sheet->Edit17->setText(QString::number(run().InfoSurnameLength));
        });
    });
}
