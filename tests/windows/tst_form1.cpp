#include "engine/DateTime.h"
#include "forms/Unit1.h"
#include "forms/Unit2.h"
#include "forms/Unit4.h"
#include "support/WindowSupport.h"
#include "windows/RadioGroup.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <optional>

// The personal-information window: questions, checks, stores, age and branch.
// Each test meets the window shown at 10:00 on 1 June 2020, Russian settings.
class Form1Test : public QObject
{
    Q_OBJECT

    const QDateTime start{QDate(2020, 6, 1), QTime(10, 0, 0)};
    std::optional<test::FixedClock> clock;
    std::optional<test::MessageLog> messages;
    TForm1 *w = nullptr;

    // Answers every required question but the one named; siblings "нет"
    // unless told.
    void fillAll(int siblings = 1, const QString &unanswered = {})
    {
        const QList<std::pair<QLineEdit *, QString>> typed = {
            {w->Edit1, "Иванова"}, {w->Edit2, "Анна"}, {w->Edit3, "Школа №5"}, {w->Edit4, "9"},
            {w->Edit5, "15"},      {w->Edit6, "05"},   {w->Edit7, "2004"}};
        for (const auto &[edit, text] : typed)
            if (edit->objectName() != unanswered)
                test::typeText(edit, text);
        const QList<std::pair<RadioGroup *, int>> chosen = {{w->RadioGroup2, 0}, {w->RadioGroup1, 0},
                                                            {w->RadioGroup5, 1}, {w->RadioGroup6, 1},
                                                            {w->RadioGroup3, siblings}, {w->RadioGroup4, 1}};
        for (const auto &[group, item] : chosen)
            if (group->objectName() != unanswered)
                test::clickItem(group, item);
    }

private slots:
    void init()
    {
        test::resetRun();
        test::useRussianSettings();
        clock.emplace(start);
        messages.emplace();
        w = test::makeWindow<TForm1>();
        w->present();
    }

    void cleanup()
    {
        test::resetRun();
        messages.reset();
        clock.reset();
    }

    void storesAnswersAndAgeThenGoesOn_data()
    {
        QTest::addColumn<int>("siblings");
        QTest::addColumn<QString>("hasSiblings");
        QTest::addColumn<QString>("subjectField"); // of the window that follows
        QTest::addColumn<QString>("school");
        QTest::addColumn<QString>("year");
        QTest::newRow("no siblings: the hand window") << 1 << "-1" << "Edit12" << "Школа №5" << "2004";
        QTest::newRow("siblings: the siblings window") << 0 << "1" << "Edit1" << "Школа №5" << "2004";
        // A blank counts as filled; a two-digit year stands for the year the
        // age was computed with, so the siblings window compares four-digit years.
        QTest::newRow("a blank school, a two-digit year") << 1 << "-1" << "Edit12" << " " << "04";
    }

    void storesAnswersAndAgeThenGoesOn()
    {
        QFETCH(int, siblings);
        QFETCH(QString, hasSiblings);
        QFETCH(QString, subjectField);
        QFETCH(QString, school);
        QFETCH(QString, year);
        fillAll(siblings);
        w->Edit3->setText(school);
        w->Edit7->setText(year);
        clock->set(start.addDays(1)); // the test date is the day of "Дальше"
        test::click(w->Button1);

        QCOMPARE(messages->texts, QStringList());
        const RunRecord &r = test::record();
        // The age from 15.05.2004 to 01.06.2020 10:00; the nervous disorder is
        // the one optional question.
        QCOMPARE((QStringList{r.InfoSurname, r.InfoName, r.InfoSex, r.InfoBirthDate, r.InfoTestDate, r.InfoStartTime,
                              r.InfoSchool, r.InfoGrade, r.InfoHandedness, r.InfoNervousDisorder, r.InfoConcussion,
                              r.InfoHeadInjury, r.InfoHasSiblings, r.InfoHearingProblem}),
                 (QStringList{"Иванова", "Анна", "0", "15.05." + year, "02.06.2020", "10:00:00", school, "9", "1", "",
                              "-1", "-1", hasSiblings, "-1"}));
        QCOMPARE((QList<double>{double(r.InfoAgeDays), r.InfoAgeYears, double(r.InfoBirthYear), double(r.InfoBirthMonth),
                                double(r.InfoNameLength), double(r.InfoSurnameLength), double(r.SibBirthOrder)}),
                 (QList<double>{5861, 16, 2004, 5, 4, 7, 0}));

        QVERIFY(!w->isVisible());
        const Form *shown = siblings == 0 ? static_cast<Form *>(currentInstance<TForm2>) : currentInstance<TForm4>;
        QVERIFY(shown && shown->isVisible());
        QCOMPARE(shown->findChild<QLineEdit *>(subjectField)->text(), QStringLiteral("Иванова Анна"));
    }

    void startMomentIsTheLastEditOfTheSurname()
    {
        fillAll();
        clock->advance(7 * 60 + 45);
        test::typeText(w->Edit1, QStringLiteral("а"));
        clock->advance(60);
        test::click(w->Button1);
        QCOMPARE(test::record().InfoStartTime, QStringLiteral("10:07:45"));
        QCOMPARE(test::record().InfoSurname, QStringLiteral("Ивановаа"));
        QCOMPARE(test::record().InfoStartMoment, toDateTime(start.addSecs(7 * 60 + 45)));
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
        fillAll(1, missing);
        test::click(w->Button1);
        QCOMPARE(messages->texts, QStringList{QStringLiteral("Заполнены не все поля!")});
        QCOMPARE(test::record().InfoSurname, QString()); // nothing stored
        QVERIFY(!currentInstance<TForm4>);
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
        fillAll();
        w->Edit5->setText(day);
        w->Edit6->setText(month);
        w->Edit7->setText(year);
        test::click(w->Button1);
        QCOMPARE(messages->texts, QStringList{QStringLiteral("Введены неверные данные!")});
        QVERIFY(w->isVisible());
        QVERIFY(!currentInstance<TForm4>);
        QCOMPARE(test::record().InfoSurname, QString()); // nothing stored
        QCOMPARE(test::record().InfoTestDate, QString());

        // Corrected, the same window goes on.
        w->Edit5->setText(QStringLiteral("29"));
        w->Edit6->setText(QStringLiteral("2"));
        w->Edit7->setText(QStringLiteral("2000"));
        test::click(w->Button1);
        QCOMPARE(messages->texts.size(), 1);
        QCOMPARE(test::record().InfoBirthDate, QStringLiteral("29.2.2000"));
        QVERIFY(currentInstance<TForm4>);
    }

    // A name that cannot name the results file, or a text the file cannot
    // hold, is refused first (before a wrong date), saying why: every sign a
    // file name may not hold, or the length, on a second line; the field and
    // its characters. Nothing is stored, the window stays; corrected, it goes on.
    void textsThatCannotBeSavedAreRefusedFirst_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("said");
        const QStringList signs = {"Введены неверные данные!\n", "/", "\\", ":", "*", "?", "\"", "<", ">", "|"};
        QTest::newRow("slash in the name") << "Edit2" << "Анна/Мария" << signs;
        QTest::newRow("Latin letter with a diaeresis") << "Edit1" << "Müller" << signs;
        QTest::newRow("Kazakh letter") << "Edit1" << "Әлиев" << signs;
        QTest::newRow("200 letters") << "Edit1" << QString(200, QChar(u'Я'))
                                     << QStringList{"Введены неверные данные!\nФамилия и имя слишком длинные для имени файла"};
        QTest::newRow("school, emoji") << "Edit3" << "Школа №5 \U0001F600" << QStringList{"Школа", "\U0001F600"};
        QTest::newRow("grade, Kazakh letter") << "Edit4" << "9 Ә" << QStringList{"Класс", "Ә"};
        QTest::newRow("concussion years") << "Edit8" << "２０１０" << QStringList{"сотрясени", "０"};
        QTest::newRow("hearing problem") << "Edit10" << "отит ☹" << QStringList{"слух", "☹"};
    }

    void textsThatCannotBeSavedAreRefusedFirst()
    {
        QFETCH(QString, field);
        QFETCH(QString, text);
        QFETCH(QStringList, said);
        fillAll();
        test::clickItem(w->RadioGroup5, 0);
        test::clickItem(w->RadioGroup4, 0);
        auto *edit = w->findChild<QLineEdit *>(field);
        const QString before = edit->text();
        edit->setText(text);
        w->Edit7->setText(QStringLiteral("20О4"));
        test::click(w->Button1);
        QCOMPARE(messages->texts.size(), 1);
        for (const QString &part : said)
            QVERIFY2(messages->last().contains(part, Qt::CaseInsensitive), qPrintable(messages->last()));
        QVERIFY(w->isVisible());
        QVERIFY(!currentInstance<TForm4>);
        QCOMPARE(test::record().InfoSurname, QString());
        QCOMPARE(test::record().InfoBirthYear, 0);

        edit->setText(before.isEmpty() ? QStringLiteral("2010") : before);
        w->Edit7->setText(QStringLiteral("2004"));
        test::click(w->Button1);
        QCOMPARE(messages->texts.size(), 1);
        QVERIFY(currentInstance<TForm4>);
    }

    // A detail field opens only with "да"; locked, it is drawn as the
    // platform draws an unavailable one, unlike the open field beside it,
    // takes no focus, and is emptied.
    void detailFieldsOpenOnlyWithYes()
    {
        QVERIFY(QTest::qWaitForWindowExposed(w));
        for (QLineEdit *detail : {w->Edit8, w->Edit9, w->Edit10})
            QVERIFY(!detail->isEnabled() && detail->isReadOnly());
        fillAll();

        test::clickItem(w->RadioGroup5, 0);
        QVERIFY(w->Edit8->isEnabled() && !w->Edit8->isReadOnly());
        QCOMPARE(w->Edit8->size(), w->Edit9->size());
        QVERIFY(w->Edit8->grab().toImage() != w->Edit9->grab().toImage());
        QCOMPARE(test::record().InfoConcussion, QStringLiteral("1"));
        test::typeText(w->Edit8, QStringLiteral("2010, 2012"));
        test::clickItem(w->RadioGroup5, 1);
        QVERIFY(!w->Edit8->isEnabled() && w->Edit8->isReadOnly());
        QCOMPARE(w->Edit8->text(), QString());
        QCOMPARE(w->Edit8->grab().toImage(), w->Edit9->grab().toImage());
        test::clickItem(w->RadioGroup5, 0);
        test::typeText(w->Edit8, QStringLiteral("2010"));

        test::clickItem(w->RadioGroup6, 0); // "да" with the years left empty
        test::clickItem(w->RadioGroup4, 0);
        test::typeText(w->Edit10, QStringLiteral("отит"));
        test::clickItem(w->RadioGroup7, 0);
        test::click(w->Button1);

        QCOMPARE(messages->texts, QStringList());
        QCOMPARE(test::record().InfoConcussion, QStringLiteral("2010"));
        QCOMPARE(test::record().InfoHeadInjury, QString());
        QCOMPARE(test::record().InfoHearingProblem, QStringLiteral("отит"));
        QCOMPARE(test::record().InfoNervousDisorder, QStringLiteral("1"));
    }

    void radioCodes()
    {
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
        for (const auto &g : groups)
            for (int i = 0; i < g.codes.size(); ++i) {
                test::clickItem(g.group, i);
                QCOMPARE(test::record().*g.field, g.codes[i]);
            }
    }
};

QTEST_MAIN(Form1Test)
#include "tst_form1.moc"
