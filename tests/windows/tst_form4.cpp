#include "engine/HandednessScore.h"
#include "engine/Regional.h"
#include "forms/Unit11.h"
#include "forms/Unit4.h"
#include "support/WindowSupport.h"
#include "windows/RadioGroup.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

// The hand and eye window: practical-test codes, the questionnaire score and
// class, the expression answer and the order of the checks.
class Form4Test : public QObject
{
    Q_OBJECT

    static TForm4 *openWindow()
    {
        auto *w = test::makeWindow<TForm4>();
        w->present();
        return w;
    }

    // The five practical tests on their first choice, every questionnaire
    // question on the given step of the scale.
    static void answerAll(TForm4 &w, int scaleChoice)
    {
        const QList<RadioGroup *> groups = answerGroups(w);
        for (int i = 0; i < groups.size(); ++i)
            test::clickItem(groups[i], i < 5 ? 0 : scaleChoice);
    }

    // The seventeen answer groups in page order.
    static QList<RadioGroup *> answerGroups(const TForm4 &w)
    {
        QList<RadioGroup *> groups = {w.RadioGroup1, w.RadioGroup2, w.RadioGroup3, w.RadioGroup4, w.RadioGroup5};
        for (RadioGroup *group : w.questionnaire)
            groups << group;
        return groups;
    }

private slots:
    void init()
    {
        test::resetRun();
        test::useRussianSettings();
    }

    void scoreAndClass_data()
    {
        QTest::addColumn<double>("score");
        QTest::addColumn<QString>("scoreText");
        QTest::addColumn<QString>("handClass");
        QTest::newRow("all right") << 24.0 << "24" << "1";
        QTest::newRow("9") << 9.0 << "9" << "1";
        QTest::newRow("8") << 8.0 << "8" << "0";
        QTest::newRow("0") << 0.0 << "0" << "0";
        QTest::newRow("-7") << -7.0 << "-7" << "0";
        QTest::newRow("-8") << -8.0 << "-8" << "0";
        QTest::newRow("-9") << -9.0 << "-9" << "-1";
        QTest::newRow("all left") << -24.0 << "-24" << "-1";
    }

    void scoreAndClass()
    {
        QFETCH(double, score);
        QFETCH(QString, scoreText);
        QFETCH(QString, handClass);
        QCOMPARE(handScoreText(score), scoreText);
        QCOMPARE(::handClass(score), handClass);
    }

    void scaleValuesRunFromAlwaysRightToAlwaysLeft()
    {
        std::array<double, handQuestionCount> values{};
        values.fill(handItemValue(1));
        values[0] = handItemValue(0);
        values[1] = handItemValue(4);
        values[2] = handItemValue(3);
        values[3] = handItemValue(2);
        QCOMPARE(handScore(values), 2.0 - 2 - 1 + 0 + 8 * 1);
    }

    void wholeScaleGivesScoreAndClass_data()
    {
        QTest::addColumn<int>("choice");
        QTest::addColumn<QString>("score");
        QTest::addColumn<QString>("handClass");
        QTest::newRow("Всегда правой") << 0 << "24" << "1";
        QTest::newRow("Любой") << 2 << "0" << "0";
        QTest::newRow("Всегда левой") << 4 << "-24" << "-1";
    }

    void wholeScaleGivesScoreAndClass()
    {
        QFETCH(int, choice);
        QFETCH(QString, score);
        QFETCH(QString, handClass);
        test::MessageLog messages;
        TForm4 *w = openWindow();
        answerAll(*w, choice);
        test::click(w->Button1);
        QCOMPARE(messages.texts, QStringList());
        QCOMPARE(test::record().LatHandScore, score);
        QCOMPARE(test::record().LatHandClass, handClass);
    }

    void changedAnswerCountsOnlyTheLastChoice()
    {
        test::MessageLog messages;
        TForm4 *w = openWindow();
        answerAll(*w, 0);
        test::clickItem(w->questionnaire[6], 4);
        test::click(w->Button1);
        QCOMPARE(test::record().LatHandScore, QStringLiteral("20"));
        QCOMPARE(test::record().LatHandClass, QStringLiteral("1"));
    }

    void practicalTestCodes_data()
    {
        QTest::addColumn<int>("group");
        QTest::addColumn<int>("choice");
        QTest::addColumn<QString>("code");
        QTest::newRow("thumb right") << 1 << 0 << "1";
        QTest::newRow("thumb left") << 1 << 1 << "-1";
        QTest::newRow("arm right") << 2 << 0 << "1";
        QTest::newRow("arm left") << 2 << 1 << "-1";
        QTest::newRow("clap right") << 3 << 0 << "1";
        QTest::newRow("clap left") << 3 << 1 << "-1";
        QTest::newRow("wink right eye") << 4 << 0 << "-1";
        QTest::newRow("wink left eye") << 4 << 1 << "1";
        QTest::newRow("wink both") << 4 << 2 << "0";
        QTest::newRow("shift with left eye shut") << 5 << 0 << "-1";
        QTest::newRow("shift with right eye shut") << 5 << 1 << "1";
        QTest::newRow("shift both times") << 5 << 2 << "0";
    }

    void practicalTestCodes()
    {
        QFETCH(int, group);
        QFETCH(int, choice);
        QFETCH(QString, code);
        TForm4 *w = openWindow();
        RadioGroup *groups[] = {w->RadioGroup1, w->RadioGroup2, w->RadioGroup3, w->RadioGroup4, w->RadioGroup5};
        QString *fields[] = {&test::record().LatThumbCode, &test::record().LatArmCode, &test::record().LatClapCode, &test::record().LatWinkCode,
                             &test::record().LatSightCode};
        // A different choice first: only the last one counts.
        test::clickItem(groups[group - 1], choice == 0 ? 1 : 0);
        test::clickItem(groups[group - 1], choice);
        QCOMPARE(*fields[group - 1], code);
    }

    void everyGroupMustBeAnswered()
    {
        test::MessageLog messages;
        for (int unanswered = 0; unanswered < 17; ++unanswered) {
            TForm4 *w = openWindow();
            const QList<RadioGroup *> groups = answerGroups(*w);
            for (int i = 0; i < groups.size(); ++i)
                if (i != unanswered)
                    test::clickItem(groups[i], 0);
            messages.texts.clear();
            test::click(w->Button1);
            QCOMPARE(messages.texts, QStringList{QStringLiteral("Выполнены не все задания!")});
            QCOMPARE(test::record().LatHandScore, QString());
            QVERIFY(w->isVisible());
            QVERIFY(!currentInstance<TForm11>);
            delete w;
        }
    }

    void answeringTheLastGroupLetsThePageGoOn()
    {
        test::MessageLog messages;
        test::record().InfoSurname = QStringLiteral("Петров");
        test::record().InfoName = QStringLiteral("Иван");
        TForm4 *w = openWindow();
        const QList<RadioGroup *> groups = answerGroups(*w);
        for (int i = 0; i < groups.size() - 1; ++i)
            test::clickItem(groups[i], 1);
        test::click(w->Button1);
        QCOMPARE(messages.texts, QStringList{QStringLiteral("Выполнены не все задания!")});

        test::clickItem(groups.last(), 1);
        test::click(w->Button1);
        QCOMPARE(messages.texts.size(), 1);
        QCOMPARE(test::record().LatHandScore, QStringLiteral("12"));
        QCOMPARE(test::record().LatHandClass, QStringLiteral("1"));
        QCOMPARE(test::record().LatThumbCode, QStringLiteral("-1"));
        QVERIFY(!w->isVisible());
        QVERIFY(currentInstance<TForm11>);
        QVERIFY(currentInstance<TForm11>->isVisible());
        QCOMPARE(currentInstance<TForm11>->Edit12->text(), QStringLiteral("Петров Иван"));
    }

    void answerThatIsNotANumberStopsThePage_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::newRow("point under comma settings") << "15.0";
        QTest::newRow("letters") << "пятнадцать";
        QTest::newRow("blanks only") << "   ";
        QTest::newRow("fraction") << "30/2";
    }

    void answerThatIsNotANumberStopsThePage()
    {
        QFETCH(QString, typed);
        test::MessageLog messages;
        test::record().ExprAnswer = 7;
        TForm4 *w = openWindow();
        answerAll(*w, 0);
        test::typeText(w->Edit18, typed);
        test::click(w->Button1);
        QCOMPARE(messages.texts, QStringList{QStringLiteral("Введены неверные данные!")});
        QCOMPARE(test::record().ExprAnswer, 7.0);
        QCOMPARE(test::record().LatHandScore, QString());
        QVERIFY(w->isVisible());
        QVERIFY(!currentInstance<TForm11>);

        test::retype(w->Edit18, QStringLiteral("15"));
        test::click(w->Button1);
        QCOMPARE(messages.texts.size(), 1);
        QCOMPARE(test::record().ExprAnswer, 15.0);
        QVERIFY(currentInstance<TForm11>);
    }

    void pointIsTheSeparatorWhereTheRegionUsesIt()
    {
        setRegional({QChar(u'.'), QStringLiteral("M/d/yyyy"), QStringLiteral("h:mm:ss AP")});
        test::MessageLog messages;
        TForm4 *w = openWindow();
        answerAll(*w, 0);
        test::typeText(w->Edit18, QStringLiteral("15,0"));
        test::click(w->Button1);
        QCOMPARE(messages.texts, QStringList{QStringLiteral("Введены неверные данные!")});
        test::retype(w->Edit18, QStringLiteral("15.5"));
        test::click(w->Button1);
        QCOMPARE(test::record().ExprAnswer, 15.5);
    }

    void numberIsCheckedBeforeCompleteness()
    {
        test::MessageLog messages;
        TForm4 *w = openWindow();
        test::typeText(w->Edit18, QStringLiteral("abc"));
        test::click(w->Button1);
        QCOMPARE(messages.texts, QStringList{QStringLiteral("Введены неверные данные!")});
    }

    void answerOfARefusedPressStaysUntilTheNextPress()
    {
        test::MessageLog messages;
        TForm4 *w = openWindow();
        test::typeText(w->Edit18, QStringLiteral("12"));
        test::click(w->Button1);
        QCOMPARE(messages.texts, QStringList{QStringLiteral("Выполнены не все задания!")});
        QCOMPARE(test::record().ExprAnswer, 12.0);

        answerAll(*w, 0);
        w->Edit18->clear();
        test::click(w->Button1);
        QCOMPARE(test::record().ExprAnswer, 90009.0);
    }

    void picturesAreShownInTheirFrames_data()
    {
        QTest::addColumn<QString>("picture");
        QTest::addColumn<QSize>("frame");
        QTest::newRow("fingers") << "Image1" << QSize(433, 265);
        QTest::newRow("arms") << "Image2" << QSize(433, 193);
        QTest::newRow("clap") << "Image3" << QSize(441, 265);
        QTest::newRow("sighting line") << "Image4" << QSize(177, 527);
        QTest::newRow("expression") << "Image8" << QSize(777, 113);
    }

    void picturesAreShownInTheirFrames()
    {
        QFETCH(QString, picture);
        QFETCH(QSize, frame);
        TForm4 w(test::session());
        auto *image = w.findChild<QLabel *>(picture);
        QVERIFY(image);
        QCOMPARE(image->pixmap().size(), frame);
        QCOMPARE(image->size(), frame);
        QVERIFY(!image->accessibleName().isEmpty());
    }

    void sightingLineRunsTheFullHeight()
    {
        TForm4 w(test::session());
        const QImage line = w.Image4->pixmap().toImage();
        for (int y : {0, line.height() / 2, line.height() - 1}) {
            QCOMPARE(qGray(line.pixel(line.width() / 2, y)), 0);
            QCOMPARE(qGray(line.pixel(0, y)), 255);
            QCOMPARE(qGray(line.pixel(line.width() - 1, y)), 255);
        }
    }
};

QTEST_MAIN(Form4Test)
#include "tst_form4.moc"
