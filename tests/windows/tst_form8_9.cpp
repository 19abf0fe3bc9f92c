#include "engine/DateTime.h"
#include "engine/ResultsFile.h"
#include "forms/Unit12.h"
#include "forms/Unit8.h"
#include "forms/Unit9.h"
#include "support/WindowSupport.h"

#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace {

const QString tooLarge = QStringLiteral("Результат слишком велик!");

// Every rule caption by button number within a group: the same twelve for
// each operation, with Cyrillic А and В, and one trailing blank.
const QStringList groupCaptions = {
    QStringLiteral("ЕСЛИ А<В, ТО А+В"),   QStringLiteral("ЕСЛИ А<В, ТО А+В+1"), QStringLiteral("ЕСЛИ А<В, ТО А-В"),
    QStringLiteral("ЕСЛИ А<В, ТО В-А"),   QStringLiteral("ЕСЛИ А=В, ТО А+В"),   QStringLiteral("ЕСЛИ А=В, ТО А+В+1"),
    QStringLiteral("ЕСЛИ А=В, ТО А-В"),   QStringLiteral("ЕСЛИ А>В, ТО А+В"),   QStringLiteral("ЕСЛИ А>В, ТО А+В+1 "),
    QStringLiteral("ЕСЛИ А>В, ТО А-В"),   QStringLiteral("ЕСЛИ А>В, ТО В-А"),   QStringLiteral("ОТМЕНИТЬ"),
};

// Replaces a field's text key by key; a leading minus is typed last, in front
// of the digits, since a lone minus is not a number.
void enter(QLineEdit *edit, const QString &text)
{
    test::retype(edit, QString());
    const bool negative = text.startsWith(u'-');
    test::typeText(edit, negative ? text.mid(1) : text);
    if (negative) {
        QTest::keyClick(edit, Qt::Key_Home);
        test::typeText(edit, QStringLiteral("-"));
    }
}

// The names of the window's controls that take the keyboard, in tab order.
QStringList tabOrder(QWidget *window, const QString &first)
{
    QWidget *start = window->findChild<QWidget *>(first);
    QStringList names;
    QWidget *w = start;
    do {
        if ((w->focusPolicy() & Qt::TabFocus) && !w->objectName().isEmpty() && w->isVisibleTo(window))
            names << w->objectName();
        w = w->nextInFocusChain();
    } while (w != start);
    return names;
}

} // namespace

// The unusual calculator and its rule window.
class Form8And9Test : public QObject
{
    Q_OBJECT

    const QDateTime start{QDate(2026, 3, 9), QTime(11, 20, 5)};

    TForm8 *openCalculator()
    {
        test::record().InfoSurname = QStringLiteral("Иванова");
        test::record().InfoName = QStringLiteral("Анна");
        auto *w = test::makeWindow<TForm8>();
        w->present();
        return w;
    }

    TForm9 *openRules()
    {
        TForm8 *calculator = openCalculator();
        test::click(calculator->Button4);
        return currentInstance<TForm9>;
    }

    static QPushButton *button(QWidget *w, int number)
    {
        return w->findChild<QPushButton *>(QStringLiteral("Button%1").arg(number));
    }

    static void press(TForm9 *w, std::initializer_list<int> numbers)
    {
        for (const int number : numbers)
            test::click(button(w, number));
    }

    static QStringList verdicts()
    {
        const RunRecord &r = test::record();
        return {r.CalcLasmResult, r.CalcVadlResult, r.CalcParmResult, QString::number(r.CalcCorrectCount)};
    }

private slots:
    void init()
    {
        test::resetRun();
        test::useRussianSettings();
    }

    void calculatorTextsStandAsTheSubjectReadsThem()
    {
        TForm8 *w = openCalculator();
        QCOMPARE(w->windowTitle(), QStringLiteral("Необычный калькулятор"));
        QCOMPARE(w->findChild<QLabel *>(QStringLiteral("Label3"))->text(), QStringLiteral("Необычный калькулятор"));
        const QString instructions = w->findChild<QLabel *>(QStringLiteral("Label9"))->text();
        QVERIFY(instructions.startsWith(QStringLiteral("Представленный ниже \"Калькулятор\" умеет производить над "
                                                       "парами чисел A и B три операции: ЛАСМ, ВАДЛ, ПАРМ. ")));
        QVERIFY(instructions.endsWith(QStringLiteral("\"Ввести ответы\". Рекомендуется для начала попробовать "
                                                     "следующие пары чисел: (A=8, B=27); (A=123, B=123); (A=100; "
                                                     "B=12); (A=236; B=250).")));
        // A and B are Latin in this window.
        const QChar a(0x41), b(0x42);
        QCOMPARE(w->findChild<QLabel *>(QStringLiteral("Label1"))->text(), QStringLiteral("Число ") + a);
        QCOMPARE(w->findChild<QLabel *>(QStringLiteral("Label2"))->text(), QStringLiteral("Число ") + b);
        QVERIFY(instructions.contains(QStringLiteral("чисел ") + a + QStringLiteral(" и ") + b));
        QVERIFY(instructions.contains(QStringLiteral("(") + a + QStringLiteral("=236; ") + b + QStringLiteral("=250)")));
        QCOMPARE(w->findChild<QLabel *>(QStringLiteral("Label4"))->text(),
                 QStringLiteral("Внимание! После нажатия на кнопку \"Ввести ответы\" Вы не сможете вернуться в это "
                                "окно."));
        QCOMPARE(w->Button1->text(), QStringLiteral("ЛАСМ"));
        QCOMPARE(w->Button3->text(), QStringLiteral("ВАДЛ"));
        QCOMPARE(w->Button2->text(), QStringLiteral("ПАРМ"));
        QCOMPARE(w->Button4->text(), QStringLiteral("Ввести ответы"));
        QVERIFY(w->Button1->x() < w->Button3->x() && w->Button3->x() < w->Button2->x());
        // The long texts wrap and are shown whole; the warning takes two lines.
        QVERIFY(QTest::qWaitForWindowExposed(w));
        for (const char *name : {"Label9", "Label4"}) {
            const QLabel *label = w->findChild<QLabel *>(QString::fromLatin1(name));
            QVERIFY2(label->wordWrap() && label->height() >= label->heightForWidth(label->width()), name);
        }
        const QLabel *warning = w->findChild<QLabel *>(QStringLiteral("Label4"));
        QCOMPARE(warning->heightForWidth(warning->width()) / warning->fontMetrics().lineSpacing(), 2);
        QCOMPARE(tabOrder(w, QStringLiteral("Edit105")),
                 (QStringList{"Edit105", "Edit1", "Edit2", "Button1", "Button3", "Button2", "Button4"}));
    }

    void operationsShowTheirResultsAndCountThem()
    {
        test::MessageLog messages;
        TForm8 *w = openCalculator();
        // The fields as typed, then the three results in button order.
        auto trial = [&](const QString &a, const QString &b) {
            enter(w->Edit1, a);
            enter(w->Edit2, b);
            messages.texts.clear();
            for (QPushButton *operation : {w->Button1, w->Button3, w->Button2})
                test::click(operation);
            return QStringList{w->Edit1->text(), w->Edit2->text()} + messages.texts;
        };
        QCOMPARE(trial("8", "27"), (QStringList{"8", "27", "-19", "36", "35"}));
        QCOMPARE(trial("123", "123"), (QStringList{"123", "123", "246", "0", "247"}));
        QCOMPARE(trial("0,5", "0,25"), (QStringList{"0,5", "0,25", "1,75", "0,75", "0,25"}));
        QCOMPARE(trial("-3", "2"), (QStringList{"-3", "2", "-5", "0", "-1"}));
        QCOMPARE(trial("5", "5,0"), (QStringList{"5", "5,0", "10", "0", "11"}));
        QCOMPARE(trial("0,00001", "1E15"), (QStringList{"0,00001", "1E15", "-1E15", "1E15", "1E15"}));
        QCOMPARE(test::record().CalcUseCount, 18);

        test::click(w->Button1); // the same pair and button again still count
        QCOMPARE(test::record().CalcUseCount, 19);
    }

    void aPressWithAnEmptyFieldDoesNothing()
    {
        test::MessageLog messages;
        TForm8 *w = openCalculator();
        test::click(w->Button1);
        test::typeText(w->Edit1, QStringLiteral("7"));
        test::click(w->Button3);
        enter(w->Edit1, QString());
        test::typeText(w->Edit2, QStringLiteral("7"));
        test::click(w->Button2);
        QCOMPARE(messages.texts, QStringList());
        QCOMPARE(test::record().CalcUseCount, 0);
    }

    void guardUndoesARefusedKeyWithTheCaretWhereItWas()
    {
        test::MessageLog messages;
        TForm8 *w = openCalculator();
        test::typeText(w->Edit1, QStringLiteral("123"));
        w->Edit1->setSelection(1, 1); // "2" selected, then replaced by a letter
        test::typeText(w->Edit1, QStringLiteral("ж"));
        QCOMPARE(w->Edit1->text(), QStringLiteral("123"));
        QCOMPARE(w->Edit1->cursorPosition(), 2);
        QVERIFY(!w->Edit1->hasSelectedText());

        w->Edit1->setCursorPosition(3);
        test::typeText(w->Edit1, QStringLiteral("."));   // a point under comma settings
        QCOMPARE(w->Edit1->text(), QStringLiteral("123"));
        QCOMPARE(w->Edit1->cursorPosition(), 3);         // 4 in the refused text, clamped
        test::typeText(w->Edit1, QStringLiteral(",5e-")); // every step a number
        QCOMPARE(w->Edit1->text(), QStringLiteral("123,5e-"));
        test::typeText(w->Edit1, QStringLiteral("+"));
        QCOMPARE(w->Edit1->text(), QStringLiteral("123,5e-"));
        QCOMPARE(w->Edit2->text(), QString()); // each field has its own guard
        QCOMPARE(messages.texts, QStringList());
    }

    void anEmptiedFieldRemembersItsLastNumber()
    {
        TForm8 *w = openCalculator();
        test::typeText(w->Edit2, QStringLiteral("12"));
        enter(w->Edit2, QString());
        QCOMPARE(w->Edit2->text(), QString());
        test::typeText(w->Edit2, QStringLiteral("x"));
        QCOMPARE(w->Edit2->text(), QStringLiteral("12"));
        QCOMPARE(w->Edit2->cursorPosition(), 1);
    }

    void guardAcceptsPartialNumbersAndRefusesALoneMinus()
    {
        test::MessageLog messages;
        TForm8 *w = openCalculator();
        test::typeText(w->Edit1, QStringLiteral("-"));
        QCOMPARE(w->Edit1->text(), QString());
        test::typeText(w->Edit1, QStringLiteral(","));
        test::typeText(w->Edit2, QStringLiteral("12E"));
        QCOMPARE(w->Edit1->text(), QStringLiteral(","));
        QCOMPARE(w->Edit2->text(), QStringLiteral("12E"));
        test::click(w->Button1); // 0 < 12: A - B
        QCOMPARE(messages.texts, QStringList{QStringLiteral("-12")});
    }

    // Numbers beyond a double are refused as typed; results beyond it are
    // reported, not shown as numbers, and not counted.
    void numbersBeyondADoubleNeverShowAsResults()
    {
        test::MessageLog messages;
        TForm8 *w = openCalculator();
        test::typeText(w->Edit1, QStringLiteral("1E309"));
        QCOMPARE(w->Edit1->text(), QStringLiteral("1E30"));
        enter(w->Edit1, QStringLiteral("1E308"));
        enter(w->Edit2, QStringLiteral("1E308"));
        test::click(w->Button1); // A + B
        test::click(w->Button3); // A - B
        QCOMPARE(messages.texts, (QStringList{tooLarge, QStringLiteral("0")}));
        QCOMPARE(test::record().CalcUseCount, 1);
        enter(w->Edit2, QStringLiteral("-1E308"));
        test::click(w->Button2); // A - B
        QCOMPARE(messages.last(), tooLarge);
        QCOMPARE(test::record().CalcUseCount, 1);
    }

    void enterAnswersMovesOnWithoutATrial()
    {
        TForm8 *w = openCalculator();
        test::click(w->Button4);
        TForm9 *rules = currentInstance<TForm9>;
        QVERIFY(rules);
        QVERIFY(rules->isVisible());
        QVERIFY(!w->isVisible());
        QCOMPARE(rules->Edit105->text(), QStringLiteral("Иванова Анна"));
        QCOMPARE(test::record().CalcUseCount, 0);
    }

    void ruleWindowShowsTheGridOfRules()
    {
        TForm9 *w = openRules();
        QVERIFY(QTest::qWaitForWindowExposed(w));
        QCOMPARE(w->windowTitle(), QStringLiteral("Необычный калькулятор. Ввод ответов"));
        const QString names[] = {QStringLiteral("ЛАСМ"), QStringLiteral("ВАДЛ"), QStringLiteral("ПАРМ")};
        for (int g = 0; g < 3; ++g) {
            const int base = 12 * g;
            for (int k = 0; k < 12; ++k) {
                const QPushButton *b = button(w, base + k + 1);
                QCOMPARE(b->text(), groupCaptions[k]);
                QVERIFY(b->width() >= b->fontMetrics().horizontalAdvance(b->text()) + 8); // not clipped
            }
            auto at = [&](int k) { return button(w, base + k + 1)->geometry(); };
            // Three columns of four rows: the cancel under the A = B rules.
            QCOMPARE(at(0).top(), at(4).top());
            QCOMPARE(at(4).top(), at(7).top());
            QVERIFY(at(0).right() < at(4).left() && at(4).right() < at(7).left());
            QCOMPARE(at(11).left(), at(4).left());
            QCOMPARE(at(11).top(), at(3).top());
            QCOMPARE(at(10).top(), at(3).top());
            for (int k = 1; k < 4; ++k)
                QVERIFY(at(k).top() > at(k - 1).bottom());
            QVERIFY(at(0).width() >= 160);
            QLabel *label = w->findChild<QLabel *>(QStringLiteral("Label%1").arg(g + 1));
            QCOMPARE(label->text(), names[g]);
            QVERIFY(label->font().bold());
            QVERIFY(label->geometry().left() > at(7).right());
            QVERIFY(label->geometry().center().y() > at(0).bottom() && label->geometry().center().y() < at(3).top());
            if (g > 0)
                QVERIFY(at(0).top() > button(w, base)->geometry().bottom());
        }
        QCOMPARE(w->Button37->text(), QStringLiteral("Готово"));
        QVERIFY(w->Button37->geometry().top() > button(w, 36)->geometry().bottom());

        QStringList expected{QStringLiteral("Edit105")};
        for (int number = 1; number <= 37; ++number)
            expected << QStringLiteral("Button%1").arg(number);
        QCOMPARE(tabOrder(w, QStringLiteral("Edit105")), expected);
    }

    void theTrueRulesIdentifyEveryOperation()
    {
        test::FixedClock clock(start);
        test::MessageLog messages;
        TForm9 *w = openRules();
        press(w, {3, 5, 9, 14, 19, 20, 25, 30, 34});
        for (const int number : {3, 5, 9, 14, 19, 20, 25, 30, 34})
            QVERIFY(!button(w, number)->isEnabled());
        QVERIFY(button(w, 1)->isEnabled());
        test::click(w->Button37);

        QCOMPARE(verdicts(), (QStringList{"1", "1", "1", "3"}));
        QCOMPARE(test::record().RavenStartTime, toDateTime(start));
        QCOMPARE(messages.texts, QStringList());
        TForm12 *raven = currentInstance<TForm12>;
        QVERIFY(raven && raven->isVisible());
        QVERIFY(!w->isVisible());
        QCOMPARE(raven->Edit105->text(), QStringLiteral("Иванова Анна"));
    }

    void falseRulesSpoilTheirOperation()
    {
        TForm9 *w = openRules();
        press(w, {3, 5, 9, 11});       // ЛАСМ and a false rule
        press(w, {14, 19, 20, 15});    // ВАДЛ and ЛАСМ's rule for A < B
        press(w, {25, 30});            // ПАРМ without its rule for A > B
        test::click(w->Button37);
        QCOMPARE(verdicts(), (QStringList{"-1", "-1", "-1", "0"}));
    }

    void cancelUndoesOneGroupOnly()
    {
        TForm9 *w = openRules();
        press(w, {1, 3, 6, 14, 19, 20});
        test::click(button(w, 12));
        for (int number = 1; number <= 11; ++number)
            QVERIFY(button(w, number)->isEnabled());
        for (const int number : {14, 19, 20})
            QVERIFY(!button(w, number)->isEnabled());
        press(w, {3, 5, 9});
        test::click(w->Button37);
        QCOMPARE(verdicts(), (QStringList{"1", "1", "-1", "2"}));

        // A later cancel of ВАДЛ takes its rules back before a second press.
        test::click(button(w, 24));
        QVERIFY(button(w, 14)->isEnabled());
        QVERIFY(!button(w, 3)->isEnabled());
    }

    void aPressedRuleCannotBePressedAgain()
    {
        TForm9 *w = openRules();
        press(w, {2});
        QVERIFY(!button(w, 2)->isEnabled());
        test::click(button(w, 2));
        QVERIFY(!button(w, 2)->isEnabled());
        test::click(button(w, 12));
        QVERIFY(button(w, 2)->isEnabled());
        press(w, {3, 5, 9});
        test::click(w->Button37);
        QCOMPARE(test::record().CalcLasmResult, QStringLiteral("1"));
    }

    void nothingPressedIdentifiesNothing()
    {
        TForm9 *w = openRules();
        test::click(w->Button37);
        QCOMPARE(verdicts(), (QStringList{"-1", "-1", "-1", "0"}));
        QVERIFY(currentInstance<TForm12> && currentInstance<TForm12>->isVisible());
    }

    void theTaskReachesTheResultsFile()
    {
        test::WorkingDirectory dir;
        test::MessageLog messages;
        TForm8 *calculator = openCalculator();
        enter(calculator->Edit1, QStringLiteral("8"));
        enter(calculator->Edit2, QStringLiteral("27"));
        test::click(calculator->Button1);
        test::click(calculator->Button2);
        test::click(calculator->Button4);
        TForm9 *rules = currentInstance<TForm9>;
        press(rules, {3, 5, 9, 13, 25, 30, 34});
        test::click(rules->Button37);

        const QString name = writeResultsFile(test::record()).path;
        const QStringList lines = test::resultsFileLines(name);
        QCOMPARE(lines.size(), 69);
        QCOMPARE(lines.mid(49, 5), (QStringList{"2", "1", "-1", "1", "2"}));
    }
};

QTEST_MAIN(Form8And9Test)
#include "tst_form8_9.moc"
