#include "forms/Unit1.h"

#include "engine/ChoiceCodes.h"
#include "engine/DateTime.h"
#include "engine/Failure.h"
#include "engine/MonotonicClock.h"
#include "engine/Numbers.h"
#include "engine/ResultsFile.h"
#include "windows/Messages.h"
#include "windows/RadioGroup.h"
#include "windows/Texts.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const QStringList yesNo = {QStringLiteral("да"), QStringLiteral("нет")};
const QStringList yesNoMeanings = {QStringLiteral("yes"), QStringLiteral("no")};

QStringList sexCodes()
{
    return choiceCodes(u"InfoSex", {QStringLiteral("female"), QStringLiteral("male")});
}

QStringList handednessCodes()
{
    return choiceCodes(u"InfoHandedness",
                       {QStringLiteral("right-handed"), QStringLiteral("left-handed"), QStringLiteral("ambidextrous")});
}

QStringList siblingsCodes()
{
    return choiceCodes(u"InfoHasSiblings", yesNoMeanings);
}

QStringList nervousDisorderCodes()
{
    return choiceCodes(u"InfoNervousDisorder", yesNoMeanings);
}

} // namespace

TForm1::TForm1(Session &session, QWidget *owner)
    : Form(session, QStringLiteral("Персональная информация"), owner)
{
    addHeading(QStringLiteral("Label1"), session.settings.welcomeHeading);
    QLabel *welcome = addLabel(
        QStringLiteral("Label2"),
        QStringLiteral("Благодарим Вас за то, что согласились принять участие в исследовании. Данное тестирование "
                       "позволит выявить уровень развития Ваших познавательных способностей и тип межполушарной "
                       "асимметрии. Ваши результаты будут использованы в анонимном и обобщённом виде. При желании Вы "
                       "сможете получить обратную связь с комментариями психолога. Процесс тестирования займёт от 70 "
                       "до 90 минут. Для прохождения тестирования у Вас должны быть стереонаушники.  Пожалуйста, не "
                       "закрывайте программу до окончания теста, иначе Ваши результаты не сохранятся. ")
            + session.journalNotice());
    welcome->setAlignment(Qt::AlignCenter);
    body()->addSpacing(12);

    Edit1 = addField(QStringLiteral("Edit1"), QStringLiteral("1. Фамилия"));
    Edit2 = addField(QStringLiteral("Edit2"), QStringLiteral("2. Имя"));
    RadioGroup2 = addQuestion(QStringLiteral("RadioGroup2"), QStringLiteral("3. Ваш пол:"),
                              {QStringLiteral("женский"), QStringLiteral("мужской")}, 2);
    Edit3 = addField(QStringLiteral("Edit3"), QStringLiteral("4. Школа (вуз)"));
    Edit4 = addField(QStringLiteral("Edit4"), QStringLiteral("5. Класс (курс)"));

    const QString birthDate = QStringLiteral("6. Дата рождения");
    addLabel(QStringLiteral("Label8"), birthDate, TextStyle::Question);
    auto *birth = new QHBoxLayout;
    const DateFields birthFields = addDateFields(birth, 5, birthDate, Width::birthDate);
    Edit5 = birthFields.day;
    Edit6 = birthFields.month;
    Edit7 = birthFields.year;
    birth->addStretch();
    body()->addLayout(birth);

    RadioGroup1 = addQuestion(QStringLiteral("RadioGroup1"), QStringLiteral("7. Вы считаете себя:"),
                              {QStringLiteral("правшой"), QStringLiteral("левшой"), QStringLiteral("амбидекстром")},
                              3);
    const QString yearsHint = QStringLiteral("если да, укажите год или все годы через запятую");
    RadioGroup5 = addYesNoWithDetail(
        QStringLiteral("RadioGroup5"),
        QStringLiteral("8. У Вас были сотрясения мозга? Если да, укажите, в каком году. "), Edit8,
        QStringLiteral("Edit8"), QStringLiteral("гггг"), yearsHint);
    RadioGroup6 = addYesNoWithDetail(
        QStringLiteral("RadioGroup6"),
        QStringLiteral("9. У Вас были черепно-мозговые травмы? Если да, укажите, в каком году. "), Edit9,
        QStringLiteral("Edit9"), QStringLiteral("гггг"), yearsHint);
    RadioGroup3 =
        addQuestion(QStringLiteral("RadioGroup3"), QStringLiteral("10. У Вас есть братья или сёстры?"), yesNo, 2);
    RadioGroup4 = addYesNoWithDetail(
        QStringLiteral("RadioGroup4"), QStringLiteral("11. Есть ли у Вас в настоящий момент проблемы со слухом?"),
        Edit10, QStringLiteral("Edit10"), QString(), QStringLiteral("если да, укажите причину плохого слуха"));
    RadioGroup7 = addQuestion(QStringLiteral("RadioGroup7"),
                              QStringLiteral("12. Страдали ли Вы когда-нибудь заболеваниями нервной системы или "
                                             "психическими расстройствами?"),
                              yesNo, 2);

    Button1 = forwardButton(QStringLiteral("Button1"), texts::onward, &TForm1::Button1Click);
    body()->addSpacing(12);
    body()->addWidget(Button1, 0, Qt::AlignLeft);
    body()->addStretch();

    connect(Edit1, &QLineEdit::textChanged, this, &TForm1::Edit1Change);
    connect(RadioGroup1, &RadioGroup::clicked, this, &TForm1::RadioGroup1Click);
    connect(RadioGroup2, &RadioGroup::clicked, this, &TForm1::RadioGroup2Click);
    connect(RadioGroup3, &RadioGroup::clicked, this, &TForm1::RadioGroup3Click);
    connect(RadioGroup4, &RadioGroup::clicked, this, &TForm1::RadioGroup4Click);
    connect(RadioGroup5, &RadioGroup::clicked, this, &TForm1::RadioGroup5Click);
    connect(RadioGroup6, &RadioGroup::clicked, this, &TForm1::RadioGroup6Click);
    connect(RadioGroup7, &RadioGroup::clicked, this, &TForm1::RadioGroup7Click);
}

RadioGroup *TForm1::addYesNoWithDetail(const QString &objectName, const QString &question, QLineEdit *&detail,
                                       const QString &detailName, const QString &detailCaption, const QString &hint)
{
    addLabel(objectName + QStringLiteral("Question"), question, TextStyle::Question);
    auto *row = new QHBoxLayout;
    auto *group = new RadioGroup(objectName, question, yesNo, 2);
    group->setFixedWidth(Width::yesNoGroup);
    row->addWidget(group);
    if (!detailCaption.isEmpty())
        row->addWidget(makeLabel(detailName + QStringLiteral("Caption"), detailCaption));
    auto *column = new QVBoxLayout;
    detail = makeField(detailName, question + hint, Width::detailField);
    setFieldOpen(detail, false);
    column->addWidget(detail);
    QLabel *hintLabel = makeLabel(detailName + QStringLiteral("Hint"), hint, TextStyle::Hint);
    hintLabel->setWordWrap(false);
    column->addWidget(hintLabel);
    row->addLayout(column);
    row->addStretch();
    body()->addLayout(row);
    return group;
}

void TForm1::Edit1Change()
{
    run().InfoStartMoment = now();
    run().InfoStartMonotonic = monotonicMilliseconds();
}

void TForm1::RadioGroup2Click()
{
    run().InfoSex = RadioGroup2->code(sexCodes());
    InfoSexAnswered = 1;
}

void TForm1::RadioGroup1Click()
{
    run().InfoHandedness = RadioGroup1->code(handednessCodes());
    InfoHandednessAnswered = 1;
}

void TForm1::RadioGroup3Click()
{
    run().InfoHasSiblings = RadioGroup3->code(siblingsCodes());
    InfoSiblingsAnswered = 1;
}

void TForm1::RadioGroup7Click()
{
    run().InfoNervousDisorder = RadioGroup7->code(nervousDisorderCodes());
}

void TForm1::RadioGroup5Click()
{
    yesNoWithDetail(RadioGroup5, Edit8, run().InfoConcussion, InfoConcussionAnswered);
}

void TForm1::RadioGroup6Click()
{
    yesNoWithDetail(RadioGroup6, Edit9, run().InfoHeadInjury, InfoHeadInjuryAnswered);
}

void TForm1::RadioGroup4Click()
{
    yesNoWithDetail(RadioGroup4, Edit10, run().InfoHearingProblem, InfoHearingAnswered);
}

// "да" opens the detail field and keeps its text; "нет" empties and locks it.
void TForm1::yesNoWithDetail(RadioGroup *group, QLineEdit *detail, QString &field, int &answered)
{
    const bool yes = group->itemIndex() == 0;
    field = yes ? QStringLiteral("1") : QStringLiteral("-1");
    if (!yes)
        detail->clear();
    setFieldOpen(detail, yes);
    answered = 1;
}

void TForm1::Button1Click()
{
    const QLineEdit *required[] = {Edit1, Edit2, Edit3, Edit4, Edit5, Edit6, Edit7};
    const int answered[] = {InfoSexAnswered,        InfoHandednessAnswered, InfoConcussionAnswered,
                            InfoHeadInjuryAnswered, InfoSiblingsAnswered,   InfoHearingAnswered};
    if (std::any_of(std::begin(required), std::end(required), [](const QLineEdit *e) { return e->text().isEmpty(); })
        || std::any_of(std::begin(answered), std::end(answered), [](int flag) { return flag != 1; }))
        return showMessage(QStringLiteral("Заполнены не все поля!"));
    // The surname and name name the results file: refuse them here, where
    // they can still be corrected, rather than lose the run at its end.
    switch (fileNameFault(Edit1->text(), Edit2->text(), session().settings.itemData)) {
    case FileNameFault::None:
        break;
    case FileNameFault::Characters:
        return showMessage(texts::wrongData + QStringLiteral("\nВ фамилии и имени нельзя использовать знаки "
                                          "/ \\ : * ? \" < > | и буквы других алфавитов, кроме русского и "
                                          "латинского (например, ü, é, ә): их нельзя сохранить в файле результатов."));
    case FileNameFault::Length:
        return showMessage(
            texts::wrongData + QStringLiteral("\nФамилия и имя слишком длинные для имени файла"));
    }
    if (!textsCanBeSaved({{Edit3, Edit3->accessibleName()},
                          {Edit4, Edit4->accessibleName()},
                          {Edit5, Edit5->accessibleName()},
                          {Edit6, Edit6->accessibleName()},
                          {Edit7, Edit7->accessibleName()},
                          {Edit8, QStringLiteral("8. Годы сотрясений мозга")},
                          {Edit9, QStringLiteral("9. Годы черепно-мозговых травм")},
                          {Edit10, QStringLiteral("11. Причина плохого слуха")}}))
        return;

    guarded(texts::wrongData, [this] {
        storeAnswers();
        forward();
    });
}

void TForm1::storeAnswers()
{
    RunRecord &r = run();
    const QString birthDateTyped = Edit5->text() + u'.' + Edit6->text() + u'.' + Edit7->text();
    const double today = now();
    const double birthDate = valueOf(parseBirthDate(birthDateTyped, today));
    r.InfoBirthYear = yearOf(birthDate);
    r.InfoBirthMonth = valueOf(parseInteger(Edit6->text()));
    r.InfoTestDate = dateText(today);
    r.InfoStartTime = timeText(r.InfoStartMoment);
    r.InfoSurname = Edit1->text();
    r.InfoName = Edit2->text();
    r.InfoSchool = Edit3->text();
    r.InfoGrade = Edit4->text();
    r.InfoBirthDate = birthDateTyped;
    const Age age = ageAt(r.InfoStartMoment, birthDate);
    r.InfoAgeDays = age.days;
    r.InfoAgeYears = age.years;
    r.InfoNameLength = int(r.InfoName.size());
    r.InfoSurnameLength = int(r.InfoSurname.size());
    if (RadioGroup5->itemIndex() == 0)
        r.InfoConcussion = Edit8->text();
    if (RadioGroup6->itemIndex() == 0)
        r.InfoHeadInjury = Edit9->text();
    if (RadioGroup4->itemIndex() == 0)
        r.InfoHearingProblem = Edit10->text();
    if (r.InfoHasSiblings != QStringLiteral("1"))
        r.SibBirthOrder = 0; // the only child, and the siblings window is skipped
}
