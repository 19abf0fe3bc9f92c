#include "forms/Unit11.h"

#include "engine/ChoiceCodes.h"
#include "windows/Messages.h"
#include "windows/RadioGroup.h"
#include "windows/Texts.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

// Where the two fraction bars of the picture run (pixels from its left
// edge); the captions are centred under them.
constexpr int firstFractionLeft = 85, firstFractionRight = 276;
constexpr int secondFractionLeft = 307, secondFractionRight = 483;

QStringList formulaUseCodes()
{
    return choiceCodes(u"ExprFormulaUse",
                       {QStringLiteral("no, computed directly"), QStringLiteral("yes, used them"),
                        QStringLiteral("used only one formula"), QStringLiteral("could not solve the item")});
}

void centreUnder(QLabel *label, int left, int right)
{
    label->adjustSize();
    label->move((left + right - label->width()) / 2, 0);
}

} // namespace

TForm11::TForm11(Session &session, QWidget *owner)
    : Form(session, QStringLiteral("Формулы сокращённого умножения"), owner)
{
    Edit12 = addSubjectField(QStringLiteral("Edit12"));
    body()->addSpacing(12);

    const QString question =
        QStringLiteral("Использовали ли вы формулы сокращённого умножения при решении последнего примера?");
    addLabel(QStringLiteral("Label5"), question, TextStyle::Question);
    Image1 = addPicture(QStringLiteral("Image1"), QStringLiteral(":/formulas/followup_expression.png"),
                        QStringLiteral("7 + (16 − 2 · 4 · 10 + 100) / (4 − 10) в квадрате − (64 в квадрате − 4 в "
                                       "квадрате) / ((64 − 4)(64 + 4)) + 8"));
    body()->addWidget(captionsUnderFractions());

    body()->addSpacing(8);
    addLabel(QStringLiteral("Label1"), QStringLiteral("Правильный ответ: 15"), TextStyle::Question);

    RadioGroup1 = addRadioGroup(QStringLiteral("RadioGroup1"), question,
                                {QStringLiteral("нет, считал(а) \"в лоб\""), QStringLiteral("да, использовал(а)"),
                                 QStringLiteral("использовал(а) только одну формулу"),
                                 QStringLiteral("не смог(ла) решить этот пример")});
    QFont choices = textFont(TextStyle::Plain);
    choices.setPointSize(10);
    RadioGroup1->setFont(choices);

    body()->addSpacing(12);
    Button1 = forwardButton(QStringLiteral("Button1"), texts::onward, &TForm11::Button1Click);
    body()->addWidget(Button1, 0, Qt::AlignLeft);
    body()->addStretch();

    connect(RadioGroup1, &RadioGroup::clicked, this, &TForm11::RadioGroup1Click);
}

// "Квадрат разности" under the first fraction, "Разность квадратов" under the second.
QWidget *TForm11::captionsUnderFractions()
{
    auto *strip = new QWidget;
    Label7 = makeLabel(QStringLiteral("Label7"), QStringLiteral("Квадрат разности"), TextStyle::Question);
    Label8 = makeLabel(QStringLiteral("Label8"), QStringLiteral("Разность квадратов"), TextStyle::Question);
    for (QLabel *caption : {Label7, Label8}) {
        caption->setWordWrap(false);
        caption->setParent(strip);
    }
    centreUnder(Label7, firstFractionLeft, firstFractionRight);
    centreUnder(Label8, secondFractionLeft, secondFractionRight);
    strip->setFixedSize(Image1->width(), std::max(Label7->height(), Label8->height()));
    return strip;
}

void TForm11::RadioGroup1Click()
{
    run().ExprFormulaUse = RadioGroup1->code(formulaUseCodes());
    answered = 1;
}

void TForm11::Button1Click()
{
    if (answered != 1)
        return showMessage(QStringLiteral("Выберите вариант ответа!"));
    guarded(texts::unknownError, [this] { forward(); });
}
