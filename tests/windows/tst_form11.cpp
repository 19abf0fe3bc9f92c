#include "engine/ResultsFile.h"
#include "forms/Unit11.h"
#include "forms/Unit4.h"
#include "forms/Unit5.h"
#include "support/WindowSupport.h"
#include "windows/RadioGroup.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

// The formula follow-up window, and a run through the hand and eye window
// and the follow-up into the results file.
class Form11Test : public QObject
{
    Q_OBJECT

    static TForm11 *openWindow()
    {
        auto *w = test::makeWindow<TForm11>();
        w->present();
        return w;
    }

    // The longest horizontal run of dark pixels through column x in the
    // lower half of the picture: a fraction bar of the rewritten line.
    static std::pair<int, int> barThrough(const QImage &image, int x)
    {
        auto dark = [&](int px, int y) { return px >= 0 && px < image.width() && qGray(image.pixel(px, y)) < 128; };
        std::pair<int, int> longest{0, -1};
        for (int y = image.height() / 2; y < image.height(); ++y) {
            if (!dark(x, y))
                continue;
            int left = x, right = x;
            while (dark(left - 1, y))
                --left;
            while (dark(right + 1, y))
                ++right;
            if (right - left > longest.second - longest.first)
                longest = {left, right};
        }
        return longest;
    }

private slots:
    void init()
    {
        test::resetRun();
        test::useRussianSettings();
    }

    void choiceCodes_data()
    {
        QTest::addColumn<int>("choice");
        QTest::addColumn<QString>("code");
        QTest::newRow("нет, считал(а) \"в лоб\"") << 0 << "-1";
        QTest::newRow("да, использовал(а)") << 1 << "1";
        QTest::newRow("только одну формулу") << 2 << "0";
        QTest::newRow("не смог(ла) решить") << 3 << "2";
    }

    void choiceCodes()
    {
        QFETCH(int, choice);
        QFETCH(QString, code);
        test::MessageLog messages;
        TForm11 *w = openWindow();
        test::clickItem(w->RadioGroup1, (choice + 1) % 4); // changed before "Дальше": only the last counts
        test::clickItem(w->RadioGroup1, choice);
        test::click(w->Button1);
        QCOMPARE(messages.texts, QStringList());
        QCOMPARE(test::record().ExprFormulaUse, code);
    }

    void aChoiceIsRequired()
    {
        test::MessageLog messages;
        test::record().InfoSurname = QStringLiteral("Петров");
        test::record().InfoName = QStringLiteral("Иван");
        TForm11 *w = openWindow();
        test::click(w->Button1);
        QCOMPARE(messages.texts, QStringList{QStringLiteral("Выберите вариант ответа!")});
        QVERIFY(w->isVisible());
        QVERIFY(!currentInstance<TForm5>);

        test::clickItem(w->RadioGroup1, 3);
        test::click(w->Button1);
        QCOMPARE(messages.texts.size(), 1);
        QCOMPARE(test::record().ExprFormulaUse, QStringLiteral("2"));
        QVERIFY(!w->isVisible());
        QVERIFY(currentInstance<TForm5>);
        QVERIFY(currentInstance<TForm5>->isVisible());
        QCOMPARE(currentInstance<TForm5>->findChild<QLineEdit *>(QStringLiteral("Edit105"))->text(),
                 QStringLiteral("Петров Иван"));
    }

    void showsTheAnswerAndTheChoices()
    {
        TForm11 w(test::session());
        QCOMPARE(w.findChild<QLabel *>(QStringLiteral("Label1"))->text(), QStringLiteral("Правильный ответ: 15"));
        const QStringList expected = {QStringLiteral("нет, считал(а) \"в лоб\""), QStringLiteral("да, использовал(а)"),
                                      QStringLiteral("использовал(а) только одну формулу"),
                                      QStringLiteral("не смог(ла) решить этот пример")};
        QCOMPARE(w.RadioGroup1->count(), 4);
        for (int i = 0; i < 4; ++i)
            QCOMPARE(w.RadioGroup1->item(i)->text(), expected[i]);
        QCOMPARE(w.RadioGroup1->itemIndex(), -1);
    }

    // Each caption stands under its fraction of the picture, side by side.
    void captionsStandUnderTheirFractions()
    {
        TForm11 w(test::session());
        w.present();
        QCOMPARE(w.Image1->pixmap().size(), QSize(569, 161));
        QCOMPARE(w.Label7->text(), QStringLiteral("Квадрат разности"));
        QCOMPARE(w.Label8->text(), QStringLiteral("Разность квадратов"));
        QVERIFY(w.Label7->font().bold());

        const QImage picture = w.Image1->pixmap().toImage();
        const int pictureLeft = w.Image1->mapTo(&w, QPoint()).x();
        auto centreOf = [&](QLabel *label) { return label->mapTo(&w, QPoint(label->width() / 2, 0)).x() - pictureLeft; };
        const int first = centreOf(w.Label7), second = centreOf(w.Label8);
        QVERIFY(w.Label7->mapTo(&w, QPoint(w.Label7->width(), 0)).x() < w.Label8->mapTo(&w, QPoint()).x());
        QVERIFY(w.Label7->mapTo(&w, QPoint()).y() > w.Image1->mapTo(&w, QPoint(0, w.Image1->height())).y() - 1);
        const auto [firstLeft, firstRight] = barThrough(picture, first);
        const auto [secondLeft, secondRight] = barThrough(picture, second);
        QVERIFY(firstRight - firstLeft > 100);
        QVERIFY(secondRight - secondLeft > 100);
        QVERIFY(firstRight < secondLeft);
    }

    void runThroughBothWindowsReachesTheResultsFile()
    {
        test::WorkingDirectory directory;
        test::MessageLog messages;
        test::record().InfoSurname = QStringLiteral("Петров");
        test::record().InfoName = QStringLiteral("Иван");
        auto *hands = test::makeWindow<TForm4>();
        hands->present();
        test::clickItem(hands->RadioGroup1, 1);
        test::clickItem(hands->RadioGroup2, 0);
        test::clickItem(hands->RadioGroup3, 1);
        test::clickItem(hands->RadioGroup4, 2);
        test::clickItem(hands->RadioGroup5, 1);
        // Five "Всегда левой", seven "Чаще левой, но иногда правой": -17.
        for (int i = 0; i < handQuestionCount; ++i)
            test::clickItem(hands->questionnaire[i], i < 5 ? 4 : 3);
        test::typeText(hands->Edit18, QStringLiteral("15"));
        test::click(hands->Button1);

        QVERIFY(currentInstance<TForm11>);
        TForm11 *followUp = currentInstance<TForm11>;
        test::clickItem(followUp->RadioGroup1, 1);
        test::click(followUp->Button1);
        QCOMPARE(messages.texts, QStringList());
        QVERIFY(currentInstance<TForm5>);
        QCOMPARE(test::record().ExprAnswer, 15.0);

        const QString file = writeResultsFile(test::record()).path;
        const QStringList lines = test::resultsFileLines(file);
        QCOMPARE(lines.size(), resultsLineCount);
        QCOMPARE(lines.mid(30, 7), (QStringList{QStringLiteral("-1"), QStringLiteral("1"), QStringLiteral("-1"),
                                                QStringLiteral("0"), QStringLiteral("1"), QStringLiteral("-17"),
                                                QStringLiteral("-1")}));
        QCOMPARE(lines[54], QStringLiteral("1"));
    }
};

QTEST_MAIN(Form11Test)
#include "tst_form11.moc"
