#include "forms/Unit8.h"

#include "engine/ItemIds.h"
#include "engine/ItemLog.h"
#include "engine/Numbers.h"
#include "windows/Messages.h"
#include "windows/Texts.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

namespace {

const QString instructions = QStringLiteral(
    "Представленный ниже \"Калькулятор\" умеет производить над парами чисел A и B три операции: ЛАСМ, ВАДЛ, ПАРМ. "
    "Выясните, что представляет собой каждая из этих операций. Для этого вводите исходные числа в поля \"Число A\" и "
    "\"Число B\" и нажимайте кнопки с названиями операций, чтобы увидеть результат. Количество проб не ограничено. "
    "После того, как Вы узнаете значения всех операций, запишите ответы на листе бумаги и нажмите кнопку \"Ввести "
    "ответы\". Рекомендуется для начала попробовать следующие пары чисел: (A=8, B=27); (A=123, B=123); (A=100; B=12); "
    "(A=236; B=250).");

} // namespace

TForm8::TForm8(Session &session, QWidget *owner)
    : Form(session, QStringLiteral("Необычный калькулятор"), owner)
{
    setItemTask(task::calculator);
    Edit105 = addTitleBlock(QStringLiteral("Edit105"), {QStringLiteral("Label3"), QStringLiteral("Необычный калькулятор"),
                                                        QStringLiteral("Label9"), instructions,
                                                        Width::calculatorInstructions});
    body()->addSpacing(12);

    // Created in keyboard order: A, B, the three operations, "Ввести ответы".
    auto *fields = new QGridLayout;
    fields->setHorizontalSpacing(12);
    body()->addLayout(fields);
    Edit1 = addNumberField(fields, 0, QStringLiteral("Edit1"), QStringLiteral("Label1"), QStringLiteral("Число A"));
    Edit2 = addNumberField(fields, 1, QStringLiteral("Edit2"), QStringLiteral("Label2"), QStringLiteral("Число B"));
    fields->setColumnStretch(0, 1);
    fields->setColumnStretch(3, 1);

    auto *operations = new QHBoxLayout;
    operations->setSpacing(16);
    body()->addLayout(operations);
    operations->addStretch();
    Button1 = addOperationButton(operations, QStringLiteral("Button1"), Operation::Lasm);
    Button3 = addOperationButton(operations, QStringLiteral("Button3"), Operation::Vadl);
    Button2 = addOperationButton(operations, QStringLiteral("Button2"), Operation::Parm);
    operations->addStretch();
    body()->addSpacing(24);

    auto *answers = new QHBoxLayout;
    answers->setSpacing(24);
    body()->addLayout(answers);
    Button4 = forwardButton(QStringLiteral("Button4"), QStringLiteral("Ввести ответы"), &TForm8::Button4Click);
    QLabel *warning = makeLabel(QStringLiteral("Label4"),
                                QStringLiteral("Внимание! После нажатия на кнопку \"Ввести ответы\" Вы не сможете "
                                               "вернуться в это окно."));
    warning->setAlignment(Qt::AlignCenter);
    warning->setWordWrap(true);
    warning->setFixedWidth(Width::calculatorWarning);
    answers->addStretch();
    answers->addWidget(Button4);
    answers->addWidget(warning);
    answers->addStretch();
    body()->addStretch();

    connect(Edit1, &QLineEdit::textChanged, this, &TForm8::Edit1Change);
    connect(Edit2, &QLineEdit::textChanged, this, &TForm8::Edit2Change);
    connect(Button1, &QPushButton::clicked, this, &TForm8::Button1Click);
    connect(Button3, &QPushButton::clicked, this, &TForm8::Button3Click);
    connect(Button2, &QPushButton::clicked, this, &TForm8::Button2Click);
}

QLineEdit *TForm8::addNumberField(QGridLayout *fields, int row, const QString &objectName, const QString &labelName,
                                  const QString &caption)
{
    fields->addWidget(makeLabel(labelName, caption), row, 1, Qt::AlignRight);
    QLineEdit *edit = makeField(objectName, caption, Width::calculatorField);
    fields->addWidget(edit, row, 2);
    return edit;
}

QPushButton *TForm8::addOperationButton(QHBoxLayout *row, const QString &objectName, Operation operation)
{
    auto *button = new QPushButton(operationName(operation));
    button->setObjectName(objectName);
    row->addWidget(button); // now in the page's font, made bold below
    QFont bold = button->font();
    bold.setBold(true);
    button->setFont(bold);
    button->setMinimumWidth(Width::operationButton);
    return button;
}

void TForm8::Edit1Change()
{
    numericGuard(Edit1, lastAcceptedA);
}

void TForm8::Edit2Change()
{
    numericGuard(Edit2, lastAcceptedB);
}

// Every text the field takes must be a number: a refused edit is undone to the
// field's last accepted text, silently, with the caret and selection where
// they were. An empty field is allowed but keeps the last accepted text.
void TForm8::numericGuard(QLineEdit *edit, QString &lastAccepted)
{
    if (edit->text().isEmpty()) {
        edit->setCursorPosition(0);
        return;
    }
    if (parseReal(edit->text())) {
        lastAccepted = edit->text();
        return;
    }
    const int start = edit->hasSelectedText() ? edit->selectionStart() : edit->cursorPosition();
    const int length = edit->selectionLength();
    edit->setText(lastAccepted); // a change of its own, which the guard accepts again
    const int size = int(edit->text().size());
    const int from = std::min(start, size);
    edit->setSelection(from, std::min(length, size - from));
}

void TForm8::Button1Click()
{
    showResult(Operation::Lasm);
}

void TForm8::Button3Click()
{
    showResult(Operation::Vadl);
}

void TForm8::Button2Click()
{
    showResult(Operation::Parm);
}

// An empty field does not convert: nothing is shown and nothing counted.
void TForm8::showResult(Operation operation)
{
    const std::optional<double> a = parseReal(Edit1->text());
    const std::optional<double> b = parseReal(Edit2->text());
    if (!a || !b)
        return;
    const std::optional<double> result = operate(operation, *a, *b);
    if (!result)
        return showMessage(QStringLiteral("Результат слишком велик!"));
    ++run().CalcUseCount;
    itemLog().acted(calculatorItem(operation), Edit1->text() + QStringLiteral("; ") + Edit2->text(),
                    formatGeneral(*result));
    showMessage(formatGeneral(*result));
}

void TForm8::Button4Click()
{
    guarded(texts::unknownError, [this] { forward(); });
}
