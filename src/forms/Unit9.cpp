#include "forms/Unit9.h"

#include "engine/DateTime.h"
#include "engine/ItemIds.h"
#include "engine/ItemLog.h"
#include "engine/MonotonicClock.h"
#include "windows/Texts.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

namespace {

struct Rule
{
    Comparison comparison;
    Expression expression;
    int row;
    int column;
};

// The eleven rules of a group in button order, and where each stands in the
// group's three columns and four rows; the cancel takes the free place.
const Rule rules[] = {
    {Comparison::Less, Expression::Sum, 0, 0},
    {Comparison::Less, Expression::SumPlusOne, 1, 0},
    {Comparison::Less, Expression::Difference, 2, 0},
    {Comparison::Less, Expression::ReverseDifference, 3, 0},
    {Comparison::Equal, Expression::Sum, 0, 1},
    {Comparison::Equal, Expression::SumPlusOne, 1, 1},
    {Comparison::Equal, Expression::Difference, 2, 1},
    {Comparison::Greater, Expression::Sum, 0, 2},
    {Comparison::Greater, Expression::SumPlusOne, 1, 2},
    {Comparison::Greater, Expression::Difference, 2, 2},
    {Comparison::Greater, Expression::ReverseDifference, 3, 2},
};
constexpr int cancelRow = 3;
constexpr int cancelColumn = 1;
constexpr int labelColumn = 3;
constexpr int rowsPerGroup = 5; // four rows of buttons and a gap

// A button of the grid, in the page's font: at least the designed 160 by 25,
// with room around the longest captions.
QPushButton *addButton(QGridLayout *grid, int row, int column, int number, const QString &caption)
{
    auto *button = new QPushButton(caption);
    button->setObjectName(QStringLiteral("Button%1").arg(number));
    grid->addWidget(button, row, column);
    button->setMinimumSize(std::max(Width::ruleButton, button->sizeHint().width() + 16), 25);
    return button;
}

} // namespace

TForm9::TForm9(Session &session, QWidget *owner)
    : Form(session, QStringLiteral("Необычный калькулятор. Ввод ответов"), owner)
    , groups{{{Operation::Lasm, &CalcLasm, {}, nullptr},
              {Operation::Vadl, &CalcVadl, {}, nullptr},
              {Operation::Parm, &CalcParm, {}, nullptr}}}
{
    setItemTask(task::rules);
    Edit105 = addSubjectField(QStringLiteral("Edit105"));
    body()->addSpacing(24);

    // Buttons are added in number order, which is also the keyboard order.
    auto *grid = new QGridLayout;
    grid->setHorizontalSpacing(16);
    grid->setVerticalSpacing(15);
    body()->addLayout(grid);
    for (int index = 0; index < int(groups.size()); ++index)
        addGroup(grid, index);
    grid->setColumnStretch(labelColumn + 1, 1);

    Button37 = forwardButton(QStringLiteral("Button37"), QStringLiteral("Готово"), &TForm9::Button37Click);
    Button37->setMinimumWidth(Width::doneButton);
    grid->addWidget(Button37, 3 * rowsPerGroup, labelColumn, Qt::AlignLeft);
    body()->addStretch();
}

// Group 0 holds Button1 to Button12 and Label1, group 1 Button13 to Button24
// and Label2, group 2 Button25 to Button36 and Label3.
void TForm9::addGroup(QGridLayout *grid, int index)
{
    RuleGroup &group = groups[index];
    const int firstButton = 12 * index + 1;
    const int firstRow = rowsPerGroup * index;
    for (int k = 0; k < int(std::size(rules)); ++k) {
        const Rule &rule = rules[k];
        QPushButton *button = addButton(grid, firstRow + rule.row, rule.column, firstButton + k,
                                        ruleCaption(rule.comparison, rule.expression));
        int &flag = flagOf(*group.flags, group.operation, rule.comparison, rule.expression);
        const QString item = ruleItem(group.operation, rule.comparison, rule.expression);
        connect(button, &QPushButton::clicked, this, [this, button, &flag, item] {
            itemLog().acted(item);
            ruleButtonClick(button, flag);
        });
        group.rules[k] = button;
    }
    group.cancel = addButton(grid, firstRow + cancelRow, cancelColumn, firstButton + int(std::size(rules)),
                             QStringLiteral("ОТМЕНИТЬ"));
    connect(group.cancel, &QPushButton::clicked, this, [this, &group] { cancelClick(group); });
    if (firstRow > 0)
        grid->setRowMinimumHeight(firstRow - 1, 8);

    QLabel *name = makeLabel(QStringLiteral("Label%1").arg(index + 1), operationName(group.operation),
                             TextStyle::Question);
    grid->addWidget(name, firstRow, labelColumn, 4, 1, Qt::AlignVCenter | Qt::AlignLeft);
}

// A pressed rule stays pressed (greyed) until its group is cancelled.
void TForm9::ruleButtonClick(QPushButton *button, int &flag)
{
    flag = 1;
    button->setEnabled(false);
}

void TForm9::cancelClick(RuleGroup &group)
{
    itemLog().acted(ruleCancelItem(group.operation));
    for (QPushButton *button : group.rules)
        button->setEnabled(true);
    *group.flags = RuleFlags{};
}

void TForm9::Button37Click()
{
    guarded(texts::unknownError, [this] {
        RunRecord &r = run();
        r.CalcLasmResult = ruleVerdict(CalcLasm);
        r.CalcVadlResult = ruleVerdict(CalcVadl);
        r.CalcParmResult = ruleVerdict(CalcParm);
        r.CalcCorrectCount = correctCount({r.CalcLasmResult, r.CalcVadlResult, r.CalcParmResult});
        r.RavenStartTime = now();
        r.RavenStartMonotonic = monotonicMilliseconds();
        forward();
    });
}
