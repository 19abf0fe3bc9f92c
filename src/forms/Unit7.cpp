#include "forms/Unit7.h"

#include "engine/Failure.h"
#include "engine/ItemIds.h"
#include "engine/ItemLog.h"
#include "engine/MathKey.h"
#include "engine/Numbers.h"
#include "windows/Messages.h"
#include "windows/Pictures.h"
#include "windows/Texts.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace {

// A problem of the sheet: its heading, and under it either its text or its
// formula picture, Image<picture>.
struct Problem
{
    QString headingName;
    QString heading;
    QString textName; // none for a picture
    QString text;
    int picture = 0;
};

// Problem n is answered in Edit<n>.
const Problem problems[] = {
    {QStringLiteral("Label2"), QStringLiteral("1. Решите задачу:"), QStringLiteral("Label22"),
     QStringLiteral("В позапрошлом году цена на овощи возросла на 25%. В прошлом упала на 4%. "
                    "На сколько процентов следует снизить цену в этом году, чтобы овощи стоили "
                    "78% цены позапрошлого года?")},
    {QStringLiteral("Label6"), QStringLiteral("2. Найдите значение выражения:"), {}, {}, 1},
    {QStringLiteral("Label3"), QStringLiteral("3. Решите задачу:"), QStringLiteral("Label43"),
     QStringLiteral("Велосипедист проехал 30 километров со скоростью Ф км/ч. За это же время "
                    "поезд проехал 230 километров. Сколько часов понадобится поезду, чтобы "
                    "проехать 1000/И километров? Ответ округлите до целого.")},
    {QStringLiteral("Label8"), QStringLiteral("4. Найдите значение выражения:"), {}, {}, 2},
    {QStringLiteral("Label11"), QStringLiteral("5. Решите задачу:"), QStringLiteral("Label12"),
     QStringLiteral("Сумма цифр трёхзначного числа U равна 17, а сумма их квадратов 109. Если "
                    "из данного числа вычесть 495, то получится число, записанное теми же "
                    "цифрами, но в обратном порядке. Найдите число U.")},
    {QStringLiteral("Label14"), QStringLiteral("6. Найдите значение выражения:"), {}, {}, 3},
    {QStringLiteral("Label16"), QStringLiteral("7. Решите задачу:"), QStringLiteral("Label9"),
     QStringLiteral("Килограмм картошки стоил 2*Ф рублей. Затем его цена сначала возросла на И "
                    "рублей, а потом упала в 2 раза. На сколько рублей необходимо поднять "
                    "цену, чтобы 10 килограмм картошки стоили (20*Ф + 17*И + 11) рублей? "
                    "Ответ округлите до целого. ")},
    {QStringLiteral("Label18"), QStringLiteral("8. Решите уравнение:"), {}, {}, 4},
    {QStringLiteral("Label21"), QStringLiteral("9. Решите задачу:"), QStringLiteral("Label19"),
     QStringLiteral("Время, затрачиваемое автобусом на прохождение расстояния 325 км, при "
                    "составлении нового расписания движения автобусов было сокращено на 40 "
                    "минут. Найдите среднюю скорость движения автобуса по новому расписанию, "
                    "если она на 10 км/ч больше средней скорости, предусмотренной старым "
                    "расписанием. ")},
    {QStringLiteral("Label24"), QStringLiteral("10. Найдите значение выражения:"), {}, {}, 5},
    {QStringLiteral("Label26"), QStringLiteral("11. Найдите значение выражения. Ответ округлите до целого."),
     QStringLiteral("Label45"),
     QStringLiteral("Школьник потратил некоторую сумму денег на покупку портфеля, авторучки и "
                    "книги. Если бы портфель стоил в 5 раз дешевле, авторучка - в 2 раза "
                    "дешевле, а книга - в 2,5 раза дешевле, чем на самом деле, то та же "
                    "покупка стоила бы 80 рублей. Если бы портфель стоил в 2 раза дешевле, "
                    "книга - в 3 раза дешевле, а авторучка - в 4 раза дешевле, то за ту же "
                    "покупку школьник уплатил бы 120 рублей. Сколько рублей стоит вся "
                    "покупка? ")},
    {QStringLiteral("Label28"), QStringLiteral("12. Найдите значение выражения. Ответ округлите до целого."), {}, {},
     6},
    {QStringLiteral("Label30"), QStringLiteral("13. Решите задачу:"), QStringLiteral("Label46"),
     QStringLiteral("Пассажир метро пешком спускается по движущемуся эскалатору за 24 секунды. "
                    "Если же он пойдёт по неподвижному эскалатору с той же скоростью, то "
                    "спустится вниз за 42 секунды. За сколько секунд пассажир спустится вниз, "
                    "стоя на ступеньках движущегося эскалатора?")},
    {QStringLiteral("Label33"), QStringLiteral("14. Найдите произведение корней системы уравнений:"), {}, {}, 7},
    {QStringLiteral("Label37"), QStringLiteral("15. Решите задачу:"), QStringLiteral("Label36"),
     QStringLiteral("Первая бригада рабочих строит один дом Ф дней. Если первая бригада будет "
                    "работать вместе со второй бригадой, то два дома они построят за один "
                    "день. За сколько дней построит сорок домов только вторая бригада? Ответ "
                    "округлите до целого.")},
};

} // namespace

TForm7::TForm7(Session &session, QWidget *owner)
    : Form(session, QStringLiteral("Решение математических задач"), owner)
{
    setItemTask(task::math);
    Edit105 = addTitleBlock(QStringLiteral("Edit105"), {QStringLiteral("Label1"), QStringLiteral("Решите задачи"),
                                                        QStringLiteral("Label42"), texts::mathInstructions,
                                                        Width::mathInstructions});
    body()->addSpacing(12);

    auto *parameters = new QGridLayout;
    Edit16 = addParameter(parameters, 0, QStringLiteral("Label39"),
                          QStringLiteral("Число символов в имени (И):"), QStringLiteral("Edit16"));
    Edit17 = addParameter(parameters, 1, QStringLiteral("Label40"),
                          QStringLiteral("Число символов в фамилии (Ф):"), QStringLiteral("Edit17"));
    parameters->setColumnStretch(2, 1);
    body()->addLayout(parameters);

    for (int number = 1; number <= int(std::size(problems)); ++number) {
        const Problem &problem = problems[number - 1];
        QWidget *shown =
            problem.text.isEmpty() ? problemPicture(number, problem.picture) : makeLabel(problem.textName, problem.text);
        addProblem(number, problem.headingName, problem.heading, shown);
    }

    Button2 = forwardButton(QStringLiteral("Button2"), texts::onward, &TForm7::Button2Click);
    body()->addSpacing(12);
    body()->addWidget(Button2, 0, Qt::AlignRight);
    body()->addStretch();

    Timer1 = addTimer(QStringLiteral("Timer1"), 60);
    Timer2 = addTimer(QStringLiteral("Timer2"), 50);

    connect(Timer1, &QTimer::timeout, this, &TForm7::Timer1Timer);
    connect(Timer2, &QTimer::timeout, this, &TForm7::Timer2Timer);
}

QLineEdit *TForm7::addParameter(QGridLayout *grid, int row, const QString &labelName,
                                const QString &caption, const QString &editName)
{
    QLabel *label = makeLabel(labelName, caption);
    label->setWordWrap(false);
    grid->addWidget(label, row, 0);
    QLineEdit *edit = makeField(editName, caption, Width::answerField);
    edit->setReadOnly(true);
    grid->addWidget(edit, row, 1);
    return edit;
}

void TForm7::addProblem(int number, const QString &headingName, const QString &heading, QWidget *problem)
{
    body()->addSpacing(16);
    addLabel(headingName, heading, TextStyle::Question);
    body()->addWidget(problem);

    const QString fieldName = QStringLiteral("Edit") + QString::number(number);
    QLineEdit *edit = makeField(fieldName, heading, Width::answerField, {mathItem(number)});
    connect(edit, &QLineEdit::editingFinished, this, &Form::progressed);
    QHBoxLayout *row = answerRow(fieldName + QStringLiteral("Caption"), edit);
    row->addStretch();
    body()->addLayout(row);
    answerFields[number - 1] = edit;
}

QWidget *TForm7::problemPicture(int number, int image)
{
    return makePicture(QStringLiteral("Image") + QString::number(image),
                       QPixmap::fromImage(pictureForScreens(QStringLiteral(":/formulas/math_%1.png").arg(image))),
                       QStringLiteral("Выражение задачи %1").arg(number));
}

QTimer *TForm7::addTimer(const QString &objectName, int minutes)
{
    auto *timer = new QTimer(this);
    timer->setObjectName(objectName);
    timer->setTimerType(Qt::PreciseTimer);
    timer->setSingleShot(true);
    timer->setInterval(minutes * 60 * 1000);
    return timer;
}

void TForm7::start()
{
    // The 60 and 50 minutes count from here; the sheet's item times from its showing, just after.
    Timer1->start();
    Timer2->start();
    Edit16->setText(QString::number(run().InfoNameLength));
    Edit17->setText(QString::number(run().InfoSurnameLength));
}

void TForm7::goOn(qint64 onScreenMilliseconds, bool warningShownBefore)
{
    warned = warningShownBefore;
    const auto remaining = [&](const QTimer *timer) {
        return int(qMax<qint64>(0, timer->interval() - onScreenMilliseconds));
    };
    if (warned || onScreenMilliseconds >= Timer1->interval())
        Timer2->stop();
    else
        Timer2->start(remaining(Timer2));
    Timer1->start(remaining(Timer1));
}

void TForm7::Timer2Timer()
{
    Timer2->stop();
    warned = true;
    emit progressed(); // kept before the box waits for the subject
    showMessage(QStringLiteral("Осталось 10 минут! Помните, что для ответа можно использовать только числа!"));
}

void TForm7::Timer1Timer()
{
    Timer1->stop();
    // The item log keeps each answer as it stood when the lock took it.
    itemLog().event(QStringLiteral("math-lock"));
    for (int problem = 1; problem <= int(answerFields.size()); ++problem)
        itemLog().lock(mathItem(problem));
    showMessage(QStringLiteral("Время истекло! Вы больше не можете вводить или изменять ответы. Переходите к "
                               "следующему заданию."));
    // Only numbers and empty fields remain, so "Дальше" can no longer fail.
    for (QLineEdit *field : answerFields) {
        if (!parseReal(field->text()))
            field->clear();
        field->setReadOnly(true);
    }
    emit progressed(); // every answer as the lock left it
}

void TForm7::Button2Click()
{
    guarded(QStringLiteral("Введены неправильные данные!"), [this] {
        RunRecord &r = run();
        r.MathCorrectTotal = 0;
        r.MathCorrectExpressions = 0;
        r.MathCorrectProblems = 0;
        QStringList typed;
        for (const QLineEdit *field : answerFields)
            typed << field->text();
        const MathAnswers answers = valueOf(mathAnswers(typed, r.ExprAnswer));
        const MathScore score = scoreMath(answers, r.InfoNameLength, r.InfoSurnameLength);
        r.MathCorrectTotal = score.total;
        r.MathCorrectExpressions = score.expressions;
        r.MathCorrectProblems = score.problems;

        Timer1->stop();
        Timer2->stop();
        forward();
    });
}
