#include "forms/Unit2.h"

#include "windows/RadioGroup.h"
#include "windows/Texts.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

namespace {

const QStringList sexItems = {QStringLiteral("женский"), QStringLiteral("мужской")};
const SiblingSex sexOfItem[] = {SiblingSex::Sister, SiblingSex::Brother};

SiblingSex sexChosen(const RadioGroup *group)
{
    const int index = group->itemIndex();
    return index < 0 ? SiblingSex::None : sexOfItem[index];
}

QString numbered(const QString &prefix, int number)
{
    return prefix + QString::number(number);
}

} // namespace

TForm2::TForm2(Session &session, QWidget *owner)
    : Form(session, QStringLiteral("Братья, сёстры"), owner)
{
    Edit1 = addSubjectField(QStringLiteral("Edit1"));
    body()->addSpacing(12);
    addLabel(QStringLiteral("Label201"), QStringLiteral("Введите информацию о своих братьях и/или сёстрах"),
             TextStyle::Heading);
    addLabel(QStringLiteral("Label202"),
             QStringLiteral("(Если точная дата рождения неизвестна, введите только год и месяц или только год)"),
             TextStyle::Hint);
    body()->addSpacing(6);
    for (int row = 0; row < siblingRowCount; ++row)
        addRow(row);

    Button201 = forwardButton(QStringLiteral("Button201"), texts::onward, &TForm2::Button201Click);
    body()->addSpacing(12);
    body()->addWidget(Button201, 0, Qt::AlignLeft);
    body()->addStretch();
}

// "n.", the sex in a frame titled "Пол", the date of birth with its three
// fields (locked until a sex is chosen) and "Отменить выбор".
void TForm2::addRow(int row)
{
    const QString place = QString::number(row + 1) + u'.';
    auto *line = new QHBoxLayout;
    QLabel *number = makeLabel(numbered(QStringLiteral("RowLabel"), row + 1), place, TextStyle::Question);
    number->setFixedWidth(Width::siblingNumber);
    line->addWidget(number);

    auto *frame = new QGroupBox(QStringLiteral("Пол"));
    frame->setObjectName(numbered(QStringLiteral("RadioGroupFrame"), 201 + row));
    auto *frameLayout = new QVBoxLayout(frame);
    frameLayout->setContentsMargins(8, 2, 8, 4);
    RadioGroup *group = new RadioGroup(numbered(QStringLiteral("RadioGroup"), 201 + row),
                                       place + QStringLiteral(" Пол"), sexItems, 2);
    frameLayout->addWidget(group);
    line->addWidget(frame);
    line->addSpacing(16);

    auto *date = new QVBoxLayout;
    date->setSpacing(2);
    date->addWidget(makeLabel(numbered(QStringLiteral("DateLabel"), row + 1), QStringLiteral("Дата рождения")));
    auto *fields = new QHBoxLayout;
    const DateFields birth =
        addDateFields(fields, 202 + 3 * row, place + QStringLiteral(" Дата рождения"), Width::siblingDate);
    DayEdits[row] = birth.day;
    MonthEdits[row] = birth.month;
    YearEdits[row] = birth.year;
    for (QLineEdit *edit : {birth.day, birth.month, birth.year})
        setFieldOpen(edit, false);
    date->addLayout(fields);
    line->addLayout(date);

    auto *cancel = new QPushButton(QStringLiteral("Отменить выбор"));
    cancel->setObjectName(numbered(QStringLiteral("Button"), row + 1));
    cancel->setAccessibleDescription(place + QStringLiteral(" Отменить выбор"));
    line->addSpacing(16);
    line->addWidget(cancel, 0, Qt::AlignBottom);
    line->addStretch();
    body()->addLayout(line);

    RadioGroups[row] = group;
    CancelButtons[row] = cancel;
    connect(group, &RadioGroup::clicked, this, [this, row] { RadioGroupClick(row); });
    connect(cancel, &QPushButton::clicked, this, [this, row] { CancelClick(row); });
}

void TForm2::RadioGroupClick(int row)
{
    for (QLineEdit *edit : {DayEdits[row], MonthEdits[row], YearEdits[row]})
        setFieldOpen(edit, true);
    run().SibDescription[row] = siblingSexWord(sexChosen(RadioGroups[row]));
}

void TForm2::CancelClick(int row)
{
    RadioGroups[row]->setItemIndex(-1);
    run().SibDescription[row].clear();
    for (QLineEdit *edit : {DayEdits[row], MonthEdits[row], YearEdits[row]}) {
        edit->clear();
        setFieldOpen(edit, false);
    }
}

SiblingRows TForm2::rowsEntered() const
{
    SiblingRows rows;
    for (int row = 0; row < siblingRowCount; ++row)
        rows[row] = {sexChosen(RadioGroups[row]), DayEdits[row]->text(), MonthEdits[row]->text(),
                     YearEdits[row]->text()};
    return rows;
}

void TForm2::Button201Click()
{
    // The day and month go into the results file as typed.
    QList<SavedText> dates;
    for (int row = 0; row < siblingRowCount; ++row)
        for (QLineEdit *edit : {DayEdits[row], MonthEdits[row], YearEdits[row]})
            dates.append({edit, edit->accessibleName()});
    if (!textsCanBeSaved(dates))
        return;

    guarded(texts::wrongData, [this] {
        RunRecord &r = run();
        const SiblingSummary summary = summarizeSiblings(rowsEntered(), r.InfoBirthYear, r.InfoBirthMonth);
        std::copy(summary.descriptions.begin(), summary.descriptions.end(), std::begin(r.SibDescription));
        r.SibBirthOrder = summary.birthOrder;
        r.SibWithYearCount = summary.withYearCount;
        r.SibSameMonthCount = summary.sameMonthCount;
        r.SibWithoutYearCount = summary.withoutYearCount;
        r.SibWindowPassed = 1;
        forward();
    });
}
