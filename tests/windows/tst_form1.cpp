#include "engine/DateTime.h"
#include "forms/Unit1.h"
#include "forms/Unit2.h"
#include "forms/Unit4.h"
#include "support/WindowSupport.h"
#include "windows/RadioGroup.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>

// The personal-information window: questions, checks, stores, age and branch.
class Form1Test : public QObject
{
    Q_OBJECT

    const QDateTime start{QDate(2020, 6, 1), QTime(10, 0, 0)};

    // Answers every required question; siblings "нет" unless told.
    static void fillAll(TForm1 &w, int siblings = 1)
    {
        test::typeText(w.Edit1, QStringLiteral("Иванова"));
        test::typeText(w.Edit2, QStringLiteral("Анна"));
        test::clickItem(w.RadioGroup2, 0);
        test::typeText(w.Edit3, QStringLiteral("Школа №5"));
        test::typeText(w.Edit4, QStringLiteral("9"));
        test::typeText(w.Edit5, QStringLiteral("15"));
        test::typeText(w.Edit6, QStringLiteral("05"));
        test::typeText(w.Edit7, QStringLiteral("2004"));
        test::clickItem(w.RadioGroup1, 0);
        test::clickItem(w.RadioGroup5, 1);
        test::clickItem(w.RadioGroup6, 1);
        test::clickItem(w.RadioGroup3, siblings);
        test::clickItem(w.RadioGroup4, 1);
    }

private slots:
    void init()
    {
        test::resetRun();
        test::useRussianSettings();
    }

    void storesAnswersAndAgeThenGoesToTheHandWindow()
    {
        test::FixedClock clock(start);
        test::MessageLog messages;
        auto *w = new TForm1;
        w->present();
        fillAll(*w);
        clock.set(start.addDays(1)); // the test date is the day of "Дальше"
        test::click(w->Button1);

        QCOMPARE(messages.texts, QStringList());
        const RunRecord &r = run();
        QCOMPARE(r.InfoSurname, QStringLiteral("Иванова"));
        QCOMPARE(r.InfoName, QStringLiteral("Анна"));
        QCOMPARE(r.InfoSex, QStringLiteral("0"));
        QCOMPARE(r.InfoBirthDate, QStringLiteral("15.05.2004"));
        QCOMPARE(r.InfoTestDate, QStringLiteral("02.06.2020"));
        QCOMPARE(r.InfoStartTime, QStringLiteral("10:00:00"));
        QCOMPARE(r.InfoSchool, QStringLiteral("Школа №5"));
        QCOMPARE(r.InfoGrade, QStringLiteral("9"));
        QCOMPARE(r.InfoHandedness, QStringLiteral("1"));
        QCOMPARE(r.InfoNervousDisorder, QString()); // the one optional question
        QCOMPARE(r.InfoConcussion, QStringLiteral("-1"));
        QCOMPARE(r.InfoHeadInjury, QStringLiteral("-1"));
        QCOMPARE(r.InfoHasSiblings, QStringLiteral("-1"));
        QCOMPARE(r.InfoHearingProblem, QStringLiteral("-1"));
        QCOMPARE(r.InfoAgeDays, 5861); // 15.05.2004 to 01.06.2020 10:00
        QCOMPARE(r.InfoAgeYears, 16.0);
        QCOMPARE(r.InfoBirthYear, 2004);
        QCOMPARE(r.InfoBirthMonth, 5);
        QCOMPARE(r.InfoNameLength, 4);
        QCOMPARE(r.InfoSurnameLength, 7);
        QCOMPARE(r.SibBirthOrder, 0);

        QVERIFY(!w->isVisible());
        QVERIFY(currentInstance<TForm4>);
        QVERIFY(currentInstance<TForm4>->isVisible());
        QCOMPARE(currentInstance<TForm4>->findChild<QLineEdit *>(QStringLiteral("Edit12"))->text(),
                 QStringLiteral("Иванова Анна"));
    }

    void siblingsGoToTheSiblingsWindow()
    {
        test::FixedClock clock(start);
        test::MessageLog messages;
        auto *w = new TForm1;
        w->present();
        fillAll(*w, 0);
        test::click(w->Button1);
        QCOMPARE(messages.texts, QStringList());
        QCOMPARE(run().InfoHasSiblings, QStringLiteral("1"));
        QVERIFY(currentInstance<TForm2>);
        QVERIFY(currentInstance<TForm2>->isVisible());
        QCOMPARE(currentInstance<TForm2>->findChild<QLineEdit *>(QStringLiteral("Edit1"))->text(),
                 QStringLiteral("Иванова Анна"));
    }

    void startMomentIsTheLastEditOfTheSurname()
    {
        test::FixedClock clock(start);
        test::MessageLog messages;
        auto *w = new TForm1;
        w->present();
        fillAll(*w);
        clock.advance(7 * 60 + 45);
        test::typeText(w->Edit1, QStringLiteral("а"));
        clock.advance(60);
        test::click(w->Button1);
        QCOMPARE(run().InfoStartTime, QStringLiteral("10:07:45"));
        QCOMPARE(run().InfoSurname, QStringLiteral("Ивановаа"));
        QCOMPARE(run().InfoStartMoment, toDateTime(start.addSecs(7 * 60 + 45)));
    }

    void everyRequiredAnswerIsChecked_data()
    {
        QTest::addColumn<QString>("missing");
        for (const char *name : {"Edit1", "Edit2", "Edit3", "Edit4", "Edit5", "Edit6", "Edit7", "RadioGroup2",
                                 "RadioGroup1", "RadioGroup5", "RadioGroup6", "RadioGroup3", "RadioGroup4"})
            QTest::newRow(name) << QString::fromLatin1(name);
    }

    void everyRequiredAnswerIsChecked()
    {
        QFETCH(QString, missing);
        test::FixedClock clock(start);
        test::MessageLog messages;
        auto *w = new TForm1;
        w->present();
        if (missing.startsWith(QStringLiteral("Edit"))) {
            fillAll(*w);
            w->findChild<QLineEdit *>(missing)->clear();
        } else {
            fillAllBut(*w, missing); // a radio answer once given cannot be withdrawn
        }
        test::click(w->Button1);
        QCOMPARE(messages.texts, QStringList{QStringLiteral("Заполнены не все поля!")});
        QCOMPARE(run().InfoSurname, QString()); // nothing stored
        QVERIFY(!currentInstance<TForm4>);
    }

    void blanksCountAsFilled()
    {
        test::FixedClock clock(start);
        test::MessageLog messages;
        auto *w = new TForm1;
        w->present();
        fillAll(*w);
        w->Edit3->setText(QStringLiteral(" "));
        test::click(w->Button1);
        QCOMPARE(messages.texts, QStringList());
        QCOMPARE(run().InfoSchool, QStringLiteral(" "));
    }

    void wrongBirthDatesAreRefused_data()
    {
        QTest::addColumn<QString>("day");
        QTest::addColumn<QString>("month");
        QTest::addColumn<QString>("year");
        QTest::newRow("31 February") << "31" << "02" << "2000";
        QTest::newRow("month not a number") << "1" << "май" << "2000";
        QTest::newRow("year not a number") << "1" << "5" << "2000г";
        QTest::newRow("day not a number") << "первое" << "5" << "2000";
        QTest::newRow("month 13") << "1" << "13" << "2000";
        QTest::newRow("three-digit year") << "1" << "5" << "204";
        QTest::newRow("over 120 years back") << "31" << "5" << "1900";
        QTest::newRow("after the day of the test") << "2" << "6" << "2020";
    }

    void wrongBirthDatesAreRefused()
    {
        QFETCH(QString, day);
        QFETCH(QString, month);
        QFETCH(QString, year);
        test::FixedClock clock(start);
        test::MessageLog messages;
        auto *w = new TForm1;
        w->present();
        fillAll(*w);
        w->Edit5->setText(day);
        w->Edit6->setText(month);
        w->Edit7->setText(year);
        test::click(w->Button1);
        QCOMPARE(messages.texts, QStringList{QStringLiteral("Введены неверные данные!")});
        QVERIFY(w->isVisible());
        QVERIFY(!currentInstance<TForm4>);

        // Corrected, the same window goes on.
        w->Edit5->setText(QStringLiteral("29"));
        w->Edit6->setText(QStringLiteral("2"));
        w->Edit7->setText(QStringLiteral("2000"));
        test::click(w->Button1);
        QCOMPARE(messages.texts.size(), 1);
        QCOMPARE(run().InfoBirthDate, QStringLiteral("29.2.2000"));
        QVERIFY(currentInstance<TForm4>);
    }

    void aMonthThatIsNotANumberStoresNoAnswerText()
    {
        test::FixedClock clock(start);
        test::MessageLog messages;
        auto *w = new TForm1;
        w->present();
        fillAll(*w);
        w->Edit6->setText(QStringLiteral("май"));
        test::click(w->Button1);
        QCOMPARE(run().InfoSurname, QString());
        QCOMPARE(run().InfoTestDate, QString());
    }

    // A two-digit year stands for the year the age was computed with, so the
    // siblings window compares four-digit years.
    void aTwoDigitYearIsTheYearOfTheAge()
    {
        test::FixedClock clock(start);
        test::MessageLog messages;
        auto *w = new TForm1;
        w->present();
        fillAll(*w);
        w->Edit7->setText(QStringLiteral("04"));
        test::click(w->Button1);
        QCOMPARE(run().InfoBirthDate, QStringLiteral("15.05.04"));
        QCOMPARE(run().InfoBirthYear, 2004);
        QCOMPARE(run().InfoAgeDays, 5861);
    }

    void namesThatCannotNameTheResultsFileAreRefusedFirst_data()
    {
        QTest::addColumn<QString>("surname");
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("tooLong");
        QTest::newRow("slash") << "Иванова" << "Анна/Мария" << false;
        QTest::newRow("Latin letter with a diaeresis") << "Müller" << "Anna" << false;
        QTest::newRow("Kazakh letter") << "Әлиев" << "Арман" << false;
        QTest::newRow("200 letters") << QString(200, QChar(u'Я')) << "Анна" << true;
    }

    // The refusal says why, which a wrong date's does not: on a second line,
    // either the characters that a file name may not hold, all named, or
    // that the name is too long.
    void namesThatCannotNameTheResultsFileAreRefusedFirst()
    {
        QFETCH(QString, surname);
        QFETCH(QString, name);
        QFETCH(bool, tooLong);
        test::FixedClock clock(start);
        test::MessageLog messages;
        auto *w = new TForm1;
        w->present();
        fillAll(*w);
        w->Edit1->setText(surname);
        w->Edit2->setText(name);
        w->Edit7->setText(QStringLiteral("20О4")); // a wrong date too: the name is refused first
        test::click(w->Button1);
        QCOMPARE(messages.texts.size(), 1);
        const QStringList lines = messages.last().split(u'\n');
        QCOMPARE(lines.size(), 2);
        QCOMPARE(lines[0], QStringLiteral("Введены неверные данные!"));
        if (tooLong)
            QCOMPARE(lines[1], QStringLiteral("Фамилия и имя слишком длинные для имени файла"));
        else
            for (const QChar c : QStringLiteral("/\\:*?\"<>|"))
                QVERIFY2(lines[1].contains(c), qPrintable(lines[1]));
        QCOMPARE(run().InfoBirthYear, 0); // refused before anything is stored
        QVERIFY(w->isVisible());
    }

    void textsTheResultsFileCannotHoldAreReported_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("named");
        QTest::newRow("school, emoji") << "Edit3" << QStringLiteral("Школа №5 \U0001F600") << "Школа";
        QTest::newRow("grade, Kazakh letter") << "Edit4" << QStringLiteral("9 Ә") << "Класс";
        QTest::newRow("concussion years") << "Edit8" << QStringLiteral("２０１０") << "сотрясени";
        QTest::newRow("hearing problem") << "Edit10" << QStringLiteral("отит ☹") << "слух";
    }

    // Named, with the characters, when pressing "Дальше"; nothing is stored
    // and the window stays until the text is corrected.
    void textsTheResultsFileCannotHoldAreReported()
    {
        QFETCH(QString, field);
        QFETCH(QString, text);
        QFETCH(QString, named);
        test::FixedClock clock(start);
        test::MessageLog messages;
        auto *w = new TForm1;
        w->present();
        fillAll(*w);
        test::clickItem(w->RadioGroup5, 0);
        test::clickItem(w->RadioGroup4, 0);
        auto *edit = w->findChild<QLineEdit *>(field);
        edit->setText(text);
        test::click(w->Button1);

        QCOMPARE(messages.texts.size(), 1);
        QVERIFY2(messages.last().contains(named, Qt::CaseInsensitive), qPrintable(messages.last()));
        QVERIFY2(messages.last().contains(text.right(text.back().isLowSurrogate() ? 2 : 1)),
                 qPrintable(messages.last()));
        QVERIFY(w->isVisible());
        QVERIFY(!currentInstance<TForm4>);
        QCOMPARE(run().InfoSurname, QString());

        edit->setText(QStringLiteral("2010"));
        test::click(w->Button1);
        QCOMPARE(messages.texts.size(), 1);
        QVERIFY(currentInstance<TForm4>);
    }

    // A locked detail field is drawn as the platform draws an unavailable
    // one, unlike the open field beside it, and takes no focus.
    void lockedDetailFieldsLookUnavailable()
    {
        auto *w = new TForm1;
        w->present();
        QVERIFY(QTest::qWaitForWindowExposed(w));
        for (QLineEdit *detail : {w->Edit8, w->Edit9, w->Edit10})
            QVERIFY(!detail->isEnabled());
        test::clickItem(w->RadioGroup5, 0);
        QVERIFY(w->Edit8->isEnabled());
        QCOMPARE(w->Edit8->size(), w->Edit9->size());
        QVERIFY(w->Edit8->grab().toImage() != w->Edit9->grab().toImage());
        test::clickItem(w->RadioGroup5, 1);
        QVERIFY(!w->Edit8->isEnabled());
        QCOMPARE(w->Edit8->grab().toImage(), w->Edit9->grab().toImage());
    }

    void detailFieldsOpenOnlyWithYes()
    {
        test::FixedClock clock(start);
        test::MessageLog messages;
        auto *w = new TForm1;
        w->present();
        QVERIFY(w->Edit8->isReadOnly() && w->Edit9->isReadOnly() && w->Edit10->isReadOnly());
        fillAll(*w);

        test::clickItem(w->RadioGroup5, 0);
        QVERIFY(!w->Edit8->isReadOnly());
        QCOMPARE(run().InfoConcussion, QStringLiteral("1"));
        test::typeText(w->Edit8, QStringLiteral("2010, 2012"));
        test::clickItem(w->RadioGroup5, 1);
        QVERIFY(w->Edit8->isReadOnly());
        QCOMPARE(w->Edit8->text(), QString());
        test::clickItem(w->RadioGroup5, 0);
        test::typeText(w->Edit8, QStringLiteral("2010"));

        test::clickItem(w->RadioGroup6, 0); // "да" with the years left empty
        test::clickItem(w->RadioGroup4, 0);
        test::typeText(w->Edit10, QStringLiteral("отит"));
        test::clickItem(w->RadioGroup7, 0);
        test::click(w->Button1);

        QCOMPARE(messages.texts, QStringList());
        QCOMPARE(run().InfoConcussion, QStringLiteral("2010"));
        QCOMPARE(run().InfoHeadInjury, QString());
        QCOMPARE(run().InfoHearingProblem, QStringLiteral("отит"));
        QCOMPARE(run().InfoNervousDisorder, QStringLiteral("1"));
    }

    void radioCodes()
    {
        auto *w = new TForm1;
        const struct
        {
            RadioGroup *group;
            QString RunRecord::*field;
            QStringList codes;
        } groups[] = {
            {w->RadioGroup2, &RunRecord::InfoSex, {"0", "1"}},
            {w->RadioGroup1, &RunRecord::InfoHandedness, {"1", "-1", "0"}},
            {w->RadioGroup3, &RunRecord::InfoHasSiblings, {"1", "-1"}},
            {w->RadioGroup7, &RunRecord::InfoNervousDisorder, {"1", "-1"}},
            {w->RadioGroup4, &RunRecord::InfoHearingProblem, {"1", "-1"}},
        };
        w->present();
        for (const auto &g : groups)
            for (int i = 0; i < g.codes.size(); ++i) {
                test::clickItem(g.group, i);
                QCOMPARE(run().*g.field, g.codes[i]);
            }
    }

private:
    static void fillAllBut(TForm1 &w, const QString &group)
    {
        test::typeText(w.Edit1, QStringLiteral("Иванова"));
        test::typeText(w.Edit2, QStringLiteral("Анна"));
        test::typeText(w.Edit3, QStringLiteral("Школа"));
        test::typeText(w.Edit4, QStringLiteral("9"));
        test::typeText(w.Edit5, QStringLiteral("15"));
        test::typeText(w.Edit6, QStringLiteral("05"));
        test::typeText(w.Edit7, QStringLiteral("2004"));
        for (RadioGroup *g : {w.RadioGroup2, w.RadioGroup1, w.RadioGroup5, w.RadioGroup6, w.RadioGroup3, w.RadioGroup4})
            if (g->objectName() != group)
                test::clickItem(g, 1);
    }
};

QTEST_MAIN(Form1Test)
#include "tst_form1.moc"
