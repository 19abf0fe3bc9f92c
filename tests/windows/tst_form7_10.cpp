#include "engine/ResultsFile.h"
#include "forms/Unit10.h"
#include "forms/Unit7.h"
#include "forms/Unit8.h"
#include "support/WindowSupport.h"
#include "windows/Messages.h"

#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

// The math start window and the problem sheet: the start, the clock, the
// lock and the step to the calculator.
class Form7And10Test : public QObject
{
    Q_OBJECT

    // Anna Ivanova: И = 4, Ф = 7.
    static TForm7 *startSheet()
    {
        RunRecord &r = test::record();
        r.InfoSurname = QStringLiteral("Иванова");
        r.InfoName = QStringLiteral("Анна");
        r.InfoNameLength = 4;
        r.InfoSurnameLength = 7;
        r.ExprAnswer = 90009;
        auto *start = test::makeWindow<TForm10>();
        start->present();
        test::click(start->Button1);
        return currentInstance<TForm7>;
    }

    static QLineEdit *field(TForm7 *sheet, int number)
    {
        return sheet->findChild<QLineEdit *>(QStringLiteral("Edit") + QString::number(number));
    }

    // A timer's time is up now, however long it still had to run.
    static void fire(QTimer *timer)
    {
        QVERIFY(QMetaObject::invokeMethod(timer, "timeout"));
    }

    static QTimer *timer(TForm7 *sheet, const char *name)
    {
        return sheet->findChild<QTimer *>(QString::fromLatin1(name));
    }

private slots:
    void init()
    {
        test::resetRun();
        test::useRussianSettings();
    }

    void startOpensTheSheetWithItsClockRunning()
    {
        test::MessageLog messages;
        TForm7 *sheet = startSheet();
        QVERIFY(sheet);
        QVERIFY(sheet->isVisible());
        QTRY_VERIFY(!currentInstance<TForm10>); // left behind, deleted
        QCOMPARE(sheet->Edit105->text(), QStringLiteral("Иванова Анна"));
        QCOMPARE(sheet->Edit16->text(), QStringLiteral("4"));
        QCOMPARE(sheet->Edit17->text(), QStringLiteral("7"));
        QVERIFY(sheet->Edit16->isReadOnly() && sheet->Edit17->isReadOnly());

        QTimer *lock = timer(sheet, "Timer1");
        QTimer *warning = timer(sheet, "Timer2");
        QVERIFY(lock && warning);
        QVERIFY(lock->isActive() && warning->isActive());
        QCOMPARE(lock->interval(), 60 * 60 * 1000);
        QCOMPARE(warning->interval(), 50 * 60 * 1000);
        for (QTimer *t : {lock, warning}) {
            QCOMPARE(t->timerType(), Qt::PreciseTimer);
            QVERIFY(t->isSingleShot());
        }
        QVERIFY(messages.texts.isEmpty());
    }

    void aNewSheetWaitsForTheStart()
    {
        TForm7 sheet(test::session());
        QVERIFY(!sheet.Timer1->isActive());
        QVERIFY(!sheet.Timer2->isActive());
    }

    void theSheetHoldsFifteenProblems()
    {
        TForm7 *sheet = startSheet();
        for (int number = 1; number <= 15; ++number) {
            QLineEdit *edit = field(sheet, number);
            QVERIFY2(edit, qPrintable(QString::number(number)));
            QCOMPARE(edit->width(), 121);
            QVERIFY(!edit->isReadOnly());
            QVERIFY(edit->accessibleName().startsWith(QString::number(number) + QStringLiteral(". ")));
        }
        for (int image = 1; image <= 7; ++image) {
            auto *picture = sheet->findChild<QLabel *>(QStringLiteral("Image") + QString::number(image));
            QVERIFY(picture);
            const QSize size = picture->pixmap().size();
            QVERIFY2(size.width() >= 673 && size.width() <= 745 && size.height() >= 116 && size.height() <= 182,
                     qPrintable(QString::number(image)));
        }
        // The texts keep their trailing blanks.
        const QList<std::pair<const char *, QString>> endings = {
            {"Label9", QStringLiteral("до целого. ")},
            {"Label19", QStringLiteral("старым расписанием. ")},
            {"Label45", QStringLiteral("вся покупка? ")},
        };
        for (const auto &[name, ending] : endings)
            QVERIFY(sheet->findChild<QLabel *>(QString::fromLatin1(name))->text().endsWith(ending));
    }

    void tabGoesFromTheParametersThroughTheAnswers()
    {
        TForm7 *sheet = startSheet();
        QList<QLineEdit *> order;
        QWidget *w = sheet->Edit16;
        do {
            if (auto *edit = qobject_cast<QLineEdit *>(w); edit && edit != sheet->Edit105)
                order << edit;
            w = w->nextInFocusChain();
        } while (w != sheet->Edit16 && order.size() < 17);
        QCOMPARE(order.size(), 17);
        QCOMPARE(order[1], sheet->Edit17);
        for (int number = 1; number <= 15; ++number)
            QCOMPARE(order[number + 1], field(sheet, number));
    }

    void lettersAreRefusedAndCanBeCorrected()
    {
        test::MessageLog messages;
        TForm7 *sheet = startSheet();
        test::record().MathCorrectTotal = 5; // from an earlier press
        test::typeText(field(sheet, 1), QStringLiteral(" 35 "));
        test::typeText(field(sheet, 3), QStringLiteral("пять"));
        test::click(sheet->Button2);

        QCOMPARE(messages.texts, QStringList{QStringLiteral("Введены неправильные данные!")});
        QCOMPARE(test::record().MathCorrectTotal, 0);
        QVERIFY(sheet->isVisible());
        QVERIFY(sheet->Timer1->isActive() && sheet->Timer2->isActive());
        QVERIFY(!currentInstance<TForm8>);

        test::retype(field(sheet, 3), QStringLiteral("5"));
        test::click(sheet->Button2);
        QCOMPARE(messages.texts.size(), 1);
        QVERIFY(currentInstance<TForm8>);
        QVERIFY(currentInstance<TForm8>->isVisible());
        QVERIFY(!sheet->isVisible());
        QCOMPARE(currentInstance<TForm8>->Edit105->text(), QStringLiteral("Иванова Анна"));
        QCOMPARE(test::record().MathCorrectTotal, 2);
        QCOMPARE(test::record().MathCorrectProblems, 2);
    }

    void sixteenRightAnswersThroughTheWindow()
    {
        test::MessageLog messages;
        TForm7 *sheet = startSheet();
        const QStringList answers = {"35,00", "10", "5", "0", "863", "-1", "13", "-2",
                                     "75",    "3",  "280", "14", "56", "990", "22"};
        for (int number = 1; number <= 15; ++number)
            test::typeText(field(sheet, number), answers[number - 1]);
        test::record().ExprAnswer = 15;
        test::click(sheet->Button2);

        QVERIFY(messages.texts.isEmpty());
        QCOMPARE(test::record().MathCorrectTotal, 16);
        QCOMPARE(test::record().MathCorrectExpressions, 8);
        QCOMPARE(test::record().MathCorrectProblems, 8);
    }

    void theWarningShowsOnce()
    {
        test::MessageLog messages;
        TForm7 *sheet = startSheet();
        fire(sheet->Timer2);
        const QString warning = QStringLiteral("Осталось 10 минут! Помните, что для ответа можно использовать только числа!");
        QCOMPARE(messages.texts, QStringList{warning});
        QVERIFY(!sheet->Timer2->isActive());
        QVERIFY(sheet->Timer1->isActive());
        QVERIFY(!field(sheet, 1)->isReadOnly());

        // The real timer, shortened: it fires once and only once.
        sheet->Timer2->start(1);
        QTRY_COMPARE(messages.texts.size(), 2);
        QTest::qWait(50);
        QCOMPARE(messages.texts.size(), 2);
    }

    void theTimeOutLocksEveryField()
    {
        test::MessageLog messages;
        TForm7 *sheet = startSheet();
        test::typeText(field(sheet, 1), QStringLiteral("abc"));
        test::typeText(field(sheet, 2), QStringLiteral("10"));
        test::typeText(field(sheet, 4), QStringLiteral("35%"));
        test::typeText(field(sheet, 5), QStringLiteral("  "));
        fire(sheet->Timer1);

        QCOMPARE(messages.texts, QStringList{QStringLiteral("Время истекло! Вы больше не можете вводить или изменять "
                                                            "ответы. Переходите к следующему заданию.")});
        QVERIFY(!sheet->Timer1->isActive());
        QCOMPARE(field(sheet, 1)->text(), QString());
        QCOMPARE(field(sheet, 2)->text(), QStringLiteral("10"));
        QCOMPARE(field(sheet, 3)->text(), QString());
        QCOMPARE(field(sheet, 4)->text(), QString());
        QCOMPARE(field(sheet, 5)->text(), QString());
        for (int number = 1; number <= 15; ++number)
            QVERIFY(field(sheet, number)->isReadOnly());
        test::typeText(field(sheet, 3), QStringLiteral("7"));
        QCOMPARE(field(sheet, 3)->text(), QString());
        QVERIFY(sheet->isVisible()); // nothing advances by itself

        test::click(sheet->Button2);
        QCOMPARE(messages.texts.size(), 1);
        QVERIFY(currentInstance<TForm8>);
        QCOMPARE(test::record().MathCorrectExpressions, 1);
    }

    void afterLeavingTheSheetNoTimerFires()
    {
        test::MessageLog messages;
        TForm7 *sheet = startSheet();
        // Shortened so that a timer left running would fire within the wait below.
        sheet->Timer1->start(20);
        sheet->Timer2->start(10);
        test::click(sheet->Button2);
        QVERIFY(currentInstance<TForm8>);
        QVERIFY(!sheet->Timer1->isActive() && !sheet->Timer2->isActive());
        QTest::qWait(100);
        QVERIFY(messages.texts.isEmpty());
    }

    void aRunThroughBothWindowsFillsItsLines()
    {
        test::WorkingDirectory dir;
        test::MessageLog messages;
        TForm7 *sheet = startSheet();
        test::typeText(field(sheet, 1), QStringLiteral("35"));
        test::typeText(field(sheet, 2), QStringLiteral("10"));
        test::typeText(field(sheet, 7), QStringLiteral("13"));
        test::click(sheet->Button2);
        QVERIFY(messages.texts.isEmpty());

        const QString name = writeResultsFile(test::record()).path;
        const QStringList lines = test::resultsFileLines(name);
        QCOMPARE(lines.size(), 69);
        QCOMPARE(lines.mid(46, 3), (QStringList{"3", "1", "2"}));
    }
};

QTEST_MAIN(Form7And10Test)
#include "tst_form7_10.moc"
