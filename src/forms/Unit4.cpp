#include "forms/Unit4.h"

#include "engine/ChoiceCodes.h"
#include "engine/Failure.h"
#include "engine/ItemIds.h"
#include "engine/MathKey.h"
#include "windows/Messages.h"
#include "windows/RadioGroup.h"
#include "windows/Texts.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <numeric>

namespace {

const QStringList rightLeft = {QStringLiteral("right"), QStringLiteral("left")};

QStringList thumbCodes()
{
    return choiceCodes(u"LatThumbCode", rightLeft);
}

QStringList armCodes()
{
    return choiceCodes(u"LatArmCode", rightLeft);
}

QStringList clapCodes()
{
    return choiceCodes(u"LatClapCode", rightLeft);
}

QStringList winkCodes()
{
    return choiceCodes(u"LatWinkCode",
                       {QStringLiteral("right"), QStringLiteral("left"), QStringLiteral("both alike")});
}

QStringList sightCodes()
{
    return choiceCodes(u"LatSightCode", {QStringLiteral("shifted only with the left eye shut"),
                                         QStringLiteral("shifted only with the right eye shut"),
                                         QStringLiteral("shifted with either eye shut")});
}

// A test or a question of the page as the item log knows it: its code or
// value for each choice, and the question as its stimulus.
LoggedAs handednessItem(int index, const QStringList &values, const QString &question)
{
    return {handednessItems()[index], values, question};
}

// The value each choice of the scale adds to the hand score, as text.
QStringList scaleValues()
{
    QStringList values;
    for (int choice = 0; choice < 5; ++choice)
        values << QString::number(handItemValue(choice));
    return values;
}

const QStringList scale = {QStringLiteral("Всегда правой"), QStringLiteral("Чаще правой, но иногда левой"),
                           QStringLiteral("Любой"), QStringLiteral("Чаще левой, но иногда правой"),
                           QStringLiteral("Всегда левой")};

const std::array<QString, handQuestionCount> questions = {
    QStringLiteral("Какой рукой вы предпочитаете кидать предметы?"),
    QStringLiteral("Какой рукой вы пишите?"),
    QStringLiteral("Какой рукой вы рисуете?"),
    QStringLiteral("Какой рукой вы играете в теннис, настольный теннис?"),
    QStringLiteral("В какой руке держите ножницы?"),
    QStringLiteral("Какой рукой бреетесь (красите губы)?"),
    QStringLiteral("Какой рукой причёсываетесь?"),
    QStringLiteral("В какой руке держите зубную щётку?"),
    QStringLiteral("В какой руке держите нож во время еды или затачивания карандаша?"),
    QStringLiteral("В какой руке держите ложку во время еды?"),
    QStringLiteral("В какой руке держите молоток для забивания гвоздей?"),
    QStringLiteral("В какой руке держите отвёртку?"),
};

} // namespace

TForm4::TForm4(Session &session, QWidget *owner)
    : Form(session, QStringLiteral("Ведущая рука, ведущий глаз"), owner)
{
    setItemTask(task::handedness);
    Edit12 = addSubjectField(QStringLiteral("Edit12"));
    body()->addSpacing(12);

    const QString fingers = QStringLiteral("Большой палец какой руки оказался сверху?");
    addLabel(QStringLiteral("Label5"), QStringLiteral("Сложите пальцы, как показано на рисунке. "),
             TextStyle::Question);
    Image1 = addPicture(QStringLiteral("Image1"), QStringLiteral(":/handeye/fingers.png"),
                        QStringLiteral("Пальцы рук сложены в замок, большой палец одной руки лежит поверх другого"));
    addLabel(QStringLiteral("Label1"), fingers, TextStyle::Question);
    RadioGroup1 =
        addRadioGroup(QStringLiteral("RadioGroup1"), fingers, {QStringLiteral("правой"), QStringLiteral("левой")}, 2,
                      handednessItem(0, thumbCodes(), fingers));

    body()->addSpacing(12);
    const QString arms = QStringLiteral("Какая рука (по локтю) оказалась сверху?");
    addLabel(QStringLiteral("Label2"), QStringLiteral("Сложите руки, как показано на рисунке. "), TextStyle::Question);
    Image2 = addPicture(QStringLiteral("Image2"), QStringLiteral(":/handeye/arms.png"),
                        QStringLiteral("Руки скрещены на груди, одно предплечье лежит поверх другого"));
    addLabel(QStringLiteral("Label3"), arms, TextStyle::Question);
    RadioGroup2 =
        addRadioGroup(QStringLiteral("RadioGroup2"), arms, {QStringLiteral("правая"), QStringLiteral("левая")}, 2,
                      handednessItem(1, armCodes(), arms));

    body()->addSpacing(12);
    const QString clap = QStringLiteral("Какая рука оказалась сверху?");
    addLabel(QStringLiteral("Label4"), QStringLiteral("Похлопайте в ладоши."), TextStyle::Question);
    Image3 = addPicture(QStringLiteral("Image3"), QStringLiteral(":/handeye/clap.png"),
                        QStringLiteral("Хлопок в ладоши: одна ладонь лежит поверх другой"));
    addLabel(QStringLiteral("Label6"), clap, TextStyle::Question);
    RadioGroup3 =
        addRadioGroup(QStringLiteral("RadioGroup3"), clap, {QStringLiteral("правая"), QStringLiteral("левая")}, 2,
                      handednessItem(2, clapCodes(), clap));

    body()->addSpacing(12);
    const QString wink = QStringLiteral("Зажмурьте один глаз. Откройте и зажмурьте другой. Какой глаз зажмурить легче?");
    addLabel(QStringLiteral("Label7"), wink, TextStyle::Question);
    RadioGroup4 =
        addRadioGroup(QStringLiteral("RadioGroup4"), wink,
                      {QStringLiteral("правый"), QStringLiteral("левый"), QStringLiteral("оба одинаково")}, 3,
                      handednessItem(3, winkCodes(), wink));

    body()->addSpacing(12);
    const QString sight = QStringLiteral(
        "Отодвиньтесь от монитора на 1 метр. Возьмите в руку карандаш и выставите руку перед собой так, чтобы "
        "карандаш слился с чёрной линией на мониторе. Свободной рукой закройте левый глаз. Сместился ли карандаш "
        "относительно линии? Теперь закройте правый. Карандаш сместился?");
    addLabel(QStringLiteral("Label8"), sight, TextStyle::Question);
    Image4 = addPicture(QStringLiteral("Image4"), QStringLiteral(":/handeye/line.png"),
                        QStringLiteral("Чёрная вертикальная линия"));
    RadioGroup5 = addRadioGroup(QStringLiteral("RadioGroup5"), sight,
                                {QStringLiteral("карандаш сместился только при закрытом левом глазе"),
                                 QStringLiteral("карандаш сместился только при закрытом правом глазе"),
                                 QStringLiteral("карандаш сместился в обоих случаях")}, 1,
                      handednessItem(4, sightCodes(), sight));

    for (int i = 0; i < handQuestionCount; ++i) {
        body()->addSpacing(12);
        addLabel(QStringLiteral("Label%1").arg(9 + i), questions[i], TextStyle::Question);
        questionnaire[i] = addRadioGroup(QStringLiteral("RadioGroup%1").arg(6 + i), questions[i], scale, 1,
                                         handednessItem(5 + i, scaleValues(), questions[i]));
        connect(questionnaire[i], &RadioGroup::clicked, this, [this, i] { QuestionnaireClick(i); });
    }

    body()->addSpacing(16);
    const QString expression = QStringLiteral("Найдите значение выражения:");
    addLabel(QStringLiteral("Label31"), expression, TextStyle::Question);
    Image8 = addPicture(QStringLiteral("Image8"), QStringLiteral(":/formulas/handeye_expression.png"),
                        QStringLiteral("7 + (2 в степени 4 − 2 в степени 3 · 10 + 2 в степени 2 · 25) / (4 − 10) в "
                                       "квадрате − (64 в квадрате − 16) / ((2 в степени 6 − 2 в степени 2)(2 в "
                                       "степени 2 + 2 в степени 6)) + 8"));
    Edit18 = makeField(QStringLiteral("Edit18"), expression + QStringLiteral(" ответ"), Width::expressionField,
                       {expressionItem});
    QHBoxLayout *answer = answerRow(QStringLiteral("Label34"), Edit18);
    answer->addSpacing(16);
    Button1 = forwardButton(QStringLiteral("Button1"), texts::onward, &TForm4::Button1Click);
    answer->addWidget(Button1);
    answer->addStretch();
    body()->addLayout(answer);
    body()->addStretch();

    connect(RadioGroup1, &RadioGroup::clicked, this, &TForm4::RadioGroup1Click);
    connect(RadioGroup2, &RadioGroup::clicked, this, &TForm4::RadioGroup2Click);
    connect(RadioGroup3, &RadioGroup::clicked, this, &TForm4::RadioGroup3Click);
    connect(RadioGroup4, &RadioGroup::clicked, this, &TForm4::RadioGroup4Click);
    connect(RadioGroup5, &RadioGroup::clicked, this, &TForm4::RadioGroup5Click);
}

void TForm4::RadioGroup1Click()
{
    answered[0] = 1;
    run().LatThumbCode = RadioGroup1->code(thumbCodes());
}

void TForm4::RadioGroup2Click()
{
    answered[1] = 1;
    run().LatArmCode = RadioGroup2->code(armCodes());
}

void TForm4::RadioGroup3Click()
{
    answered[2] = 1;
    run().LatClapCode = RadioGroup3->code(clapCodes());
}

void TForm4::RadioGroup4Click()
{
    answered[3] = 1;
    run().LatWinkCode = RadioGroup4->code(winkCodes());
}

void TForm4::RadioGroup5Click()
{
    answered[4] = 1;
    run().LatSightCode = RadioGroup5->code(sightCodes());
}

void TForm4::QuestionnaireClick(int question)
{
    answered[5 + question] = 1;
    itemValues[question] = handItemValue(questionnaire[question]->itemIndex());
}

void TForm4::Button1Click()
{
    guarded(texts::wrongData, [this] {
        // The expression is read first: a text that is not a number stops
        // the page before its completeness is checked.
        captureExpressionAnswer();
        if (std::accumulate(answered.begin(), answered.end(), 0) != answerGroupCount)
            return showMessage(QStringLiteral("Выполнены не все задания!"));
        const double score = handScore(itemValues);
        run().LatHandScore = handScoreText(score);
        run().LatHandClass = handClass(score);
        forward();
    });
}

void TForm4::captureExpressionAnswer()
{
    run().ExprAnswer = valueOf(mathAnswer(Edit18->text()));
}
