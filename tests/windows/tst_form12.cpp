#include "engine/DateTime.h"
#include "engine/ItemIds.h"
#include "engine/ItemLog.h"
#include "engine/ItemRows.h"
#include "engine/MonotonicClock.h"
#include "engine/RavenKey.h"
#include "engine/Regional.h"
#include "forms/Unit12.h"
#include "forms/Unit13.h"
#include "support/WindowSupport.h"
#include "windows/RadioGroup.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using Answers = std::array<int, ravenItemCount>;
using Blocks = std::array<int, ravenBlockCount>;

// The matrices window: its scoring, its checks on "Дальше", the time spent,
// and a run from it through the completion window into the results file.
class Form12Test : public QObject
{
    Q_OBJECT

    static Answers allOf(int answer)
    {
        Answers answers;
        answers.fill(answer);
        return answers;
    }

    static QStringList textsOf(const Answers &answers)
    {
        QStringList texts;
        for (int answer : answers)
            texts << QString::number(answer);
        return texts;
    }

    static QStringList keyTexts() { return textsOf(ravenKey); }

    static TForm12 *openWindow()
    {
        auto *w = test::makeWindow<TForm12>();
        w->present();
        return w;
    }

    static void fill(TForm12 *w, const QStringList &texts)
    {
        for (int item = 0; item < ravenItemCount; ++item)
            test::retype(w->Edits[item], texts[item]);
    }

    static void zeroScoresExpected()
    {
        QCOMPARE(test::record().RavenTotal, 0);
        QCOMPARE(test::record().RavenBlock1, 0);
        QCOMPARE(test::record().RavenBlock2, 0);
        QCOMPARE(test::record().RavenBlock3, 0);
        QCOMPARE(test::record().RavenBlock4, 0);
        QCOMPARE(test::record().RavenBlock5, 0);
    }

    // Scores left by an earlier press, which a refused press must clear.
    static void earlierScores()
    {
        test::record().RavenTotal = 7;
        test::record().RavenBlock1 = test::record().RavenBlock2 = test::record().RavenBlock3 = test::record().RavenBlock4 = test::record().RavenBlock5 = 1;
    }

private slots:
    void init()
    {
        test::resetRun();
        test::useRussianSettings();
        test::record().InfoSurname = QStringLiteral("Петров");
        test::record().InfoName = QStringLiteral("Иван");
    }

    void scoring_data()
    {
        QTest::addColumn<Answers>("answers");
        QTest::addColumn<int>("total");
        QTest::addColumn<Blocks>("blocks");
        QTest::newRow("the key") << ravenKey << 15 << Blocks{3, 3, 3, 3, 3};
        QTest::newRow("all 1: item 7") << allOf(1) << 1 << Blocks{0, 0, 1, 0, 0};
        QTest::newRow("all 2: items 3, 9, 10, 13") << allOf(2) << 4 << Blocks{1, 0, 1, 1, 1};
        QTest::newRow("all 8: item 6") << allOf(8) << 1 << Blocks{0, 1, 0, 0, 0};
        QTest::newRow("0 is no candidate") << allOf(0) << 0 << Blocks{0, 0, 0, 0, 0};
        QTest::newRow("9 is beyond the candidates") << allOf(9) << 0 << Blocks{0, 0, 0, 0, 0};
        QTest::newRow("-3 is not 3") << allOf(-3) << 0 << Blocks{0, 0, 0, 0, 0};
        auto lastBlockWrong = ravenKey;
        lastBlockWrong[12] = lastBlockWrong[13] = lastBlockWrong[14] = 1;
        QTest::newRow("last block wrong") << lastBlockWrong << 12 << Blocks{3, 3, 3, 3, 0};
        auto firstOfEachBlock = allOf(0);
        for (int item = 0; item < ravenItemCount; item += ravenBlockSize)
            firstOfEachBlock[item] = ravenKey[item];
        QTest::newRow("first of each block") << firstOfEachBlock << 5 << Blocks{1, 1, 1, 1, 1};
    }

    void scoring()
    {
        QFETCH(Answers, answers);
        QFETCH(int, total);
        QFETCH(Blocks, blocks);
        const RavenScore score = scoreRaven(answers);
        QCOMPARE(score.total, total);
        QCOMPARE(score.blocks, blocks);
    }

    void windowShowsFifteenItemsUnscaled()
    {
        TForm12 *w = openWindow();
        QCOMPARE(w->windowTitle(), QStringLiteral("Прогрессивные матрицы Равена"));
        QCOMPARE(w->findChild<QLabel *>(QStringLiteral("Label35"))->text(),
                 QStringLiteral("Прогрессивные матрицы Равена (экспресс-тест)"));
        QVERIFY(w->findChild<QLabel *>(QStringLiteral("Label36"))->text().startsWith(
            QStringLiteral("Вам будет предложено 15 заданий, в каждом из которых есть основное изображение (сверху)")));
        for (int item = 1; item <= ravenItemCount; ++item) {
            const QString number = QString::number(item);
            auto *image = w->findChild<QLabel *>(QStringLiteral("Image") + number);
            QVERIFY(image);
            const QImage picture = TForm12::picture(item);
            QVERIFY2(!picture.isNull(), qPrintable(QStringLiteral("picture %1").arg(item)));
            QVERIFY(picture.width() >= 380 && picture.width() <= 405);
            QVERIFY(picture.height() >= 405 && picture.height() <= 445);
            QCOMPARE(image->pixmap().size(), picture.size());
            QCOMPARE(image->size(), picture.size());
            QCOMPARE(w->findChild<QLabel *>(QStringLiteral("ItemNumber") + number)->text(), number + u'.');

            auto *edit = w->findChild<QLineEdit *>(QStringLiteral("Edit") + number);
            QCOMPARE(edit, w->Edits[item - 1]);
            QVERIFY(edit->text().isEmpty());
            QVERIFY(!edit->accessibleName().isEmpty());
            // Each field sits under its own picture.
            QVERIFY(edit->mapTo(w, QPoint()).y() > image->mapTo(w, QPoint(0, image->height())).y() - 1);
            if (item > 1)
                QVERIFY(image->mapTo(w, QPoint()).y() > w->Edits[item - 2]->mapTo(w, QPoint()).y());
        }
        QCOMPARE(w->Button1->text(), QStringLiteral("Дальше"));
        const QPoint lastField = w->Edits.back()->mapTo(w, QPoint());
        const QPoint button = w->Button1->mapTo(w, QPoint());
        QVERIFY(button.x() > lastField.x() + w->Edits.back()->width() - 1);
        QVERIFY(qAbs(button.y() + w->Button1->height() / 2 - lastField.y() - w->Edits.back()->height() / 2) <= 2);
    }

    void tabOrderRunsThroughTheFields()
    {
        TForm12 *w = openWindow();
        QList<QWidget *> order;
        QWidget *widget = w->Edit105;
        do {
            if (widget->focusPolicy() & Qt::TabFocus && widget->isVisibleTo(w))
                order << widget;
            widget = widget->nextInFocusChain();
        } while (widget != w->Edit105 && order.size() < 40);
        QList<QWidget *> expected = {w->Edit105};
        for (QLineEdit *edit : w->Edits)
            expected << edit;
        expected << w->Button1;
        QCOMPARE(order.mid(0, expected.size()), expected);
    }

    void keyAnswersScoreFullAndForward()
    {
        test::MessageLog messages;
        test::FixedClock clock(QDateTime(QDate(2026, 3, 14), QTime(10, 0, 0)));
        test::record().RavenStartTime = now();
        TForm12 *w = openWindow();
        fill(w, keyTexts());
        clock.advance(12 * 60 + 5);
        test::click(w->Button1);

        QCOMPARE(messages.texts, QStringList());
        QCOMPARE(test::record().RavenTotal, 15);
        for (int block : {test::record().RavenBlock1, test::record().RavenBlock2, test::record().RavenBlock3, test::record().RavenBlock4, test::record().RavenBlock5})
            QCOMPARE(block, 3);
        QCOMPARE(w->RavenAnswer, ravenKey);
        QCOMPARE(test::record().RavenDurationText, QStringLiteral("0:12:05"));
        QVERIFY(currentInstance<TForm13>);
        QVERIFY(currentInstance<TForm13>->isVisible());
        QCOMPARE(currentInstance<TForm13>->Edit105->text(), QStringLiteral("Петров Иван"));
        QVERIFY(!w->isVisible());
    }

    // The items' times count from the window on screen, not from its making.
    void itemTimesCountFromTheWindowOnScreen()
    {
        test::FixedClock clock(QDateTime(QDate(2026, 3, 14), QTime(10, 0, 0)));
        auto *w = test::makeWindow<TForm12>();
        clock.advance(5);
        w->present();
        clock.advance(3);
        test::typeText(w->Edits[0], QStringLiteral("4"));
        const QList<ItemRow> rows = itemRows(test::items(), test::record());
        const auto first = std::find_if(rows.begin(), rows.end(), [](const ItemRow &row) { return row.item == matrixItem(1); });
        QVERIFY(first != rows.end());
        QCOMPARE(first->responseTime, std::optional<qint64>(3000));
    }

    // Hours, minutes and seconds whatever the regional time format.
    void durationDropsWholeDays()
    {
        setRegional({QChar(u'.'), QStringLiteral("M/d/yyyy"), QStringLiteral("h:mm:ss AP")});
        test::MessageLog messages;
        test::FixedClock clock(QDateTime(QDate(2026, 3, 14), QTime(23, 50, 0)));
        test::record().RavenStartTime = now();
        TForm12 *w = openWindow();
        fill(w, keyTexts());
        clock.advance(26 * 3600 + 7 * 60 + 45);
        test::click(w->Button1);
        QCOMPARE(test::record().RavenDurationText, QStringLiteral("2:07:45"));
    }

    void emptyFieldIsRefusedWherever_data()
    {
        QTest::addColumn<int>("empty");
        for (int item = 0; item < ravenItemCount; ++item)
            QTest::addRow("field %d", item + 1) << item;
    }

    void emptyFieldIsRefusedWherever()
    {
        QFETCH(int, empty);
        test::MessageLog messages;
        TForm12 *w = openWindow();
        QStringList texts = keyTexts();
        texts[empty].clear();
        fill(w, texts);
        earlierScores();
        test::click(w->Button1);
        QCOMPARE(messages.texts, QStringList{QStringLiteral("Выполнены не все задания!")});
        zeroScoresExpected();
        QCOMPARE(w->RavenAnswer, allOf(0)); // nothing converted yet
        QVERIFY(!currentInstance<TForm13>);
        QVERIFY(w->isVisible());
    }

    void emptyFieldWinsOverLetters()
    {
        test::MessageLog messages;
        TForm12 *w = openWindow();
        QStringList texts = keyTexts();
        texts[2] = QStringLiteral("три");
        texts[11].clear();
        fill(w, texts);
        test::click(w->Button1);
        QCOMPARE(messages.texts, QStringList{QStringLiteral("Выполнены не все задания!")});
    }

    void answerConversion_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<int>("value");
        QTest::newRow("leading blank") << " 3" << true << 3;
        QTest::newRow("plus sign") << "+3" << true << 3;
        QTest::newRow("negative") << "-3" << true << -3;
        QTest::newRow("leading zeros") << "0003" << true << 3;
        QTest::newRow("smallest integer") << "-2147483648" << true << std::numeric_limits<int>::min();
        QTest::newRow("largest integer") << "2147483647" << true << std::numeric_limits<int>::max();
        QTest::newRow("trailing blank") << "3 " << false << 0;
        QTest::newRow("blanks only") << "   " << false << 0;
        QTest::newRow("letters") << "три" << false << 0;
        QTest::newRow("fraction") << "3,0" << false << 0;
        QTest::newRow("blank inside") << "1 2" << false << 0;
        QTest::newRow("sign alone") << "-" << false << 0;
        QTest::newRow("beyond 32 bits") << "2147483648" << false << 0;
        QTest::newRow("far beyond 32 bits") << "99999999999999999999" << false << 0;
    }

    void answerConversion()
    {
        QFETCH(QString, text);
        QFETCH(bool, accepted);
        QFETCH(int, value);
        test::MessageLog messages;
        TForm12 *w = openWindow();
        QStringList texts = keyTexts();
        texts[5] = text; // item 6
        fill(w, texts);
        earlierScores();
        test::click(w->Button1);
        if (accepted) {
            QCOMPARE(messages.texts, QStringList());
            QCOMPARE(w->RavenAnswer[5], value);
            QCOMPARE(test::record().RavenTotal, value == ravenKey[5] ? 15 : 14);
            QVERIFY(currentInstance<TForm13>);
        } else {
            QCOMPARE(messages.texts, QStringList{QStringLiteral("Введены неверные данные!")});
            zeroScoresExpected();
            // Items before the refused one keep their converted answers.
            for (int item = 0; item < 5; ++item)
                QCOMPARE(w->RavenAnswer[item], ravenKey[item]);
            QCOMPARE(w->RavenAnswer[6], 0);
            QVERIFY(test::record().RavenDurationText.isEmpty());
            QVERIFY(!currentInstance<TForm13>);
            QVERIFY(w->isVisible());
        }
    }

    void correctedAnswersAreScoredAgain()
    {
        test::MessageLog messages;
        test::FixedClock clock(QDateTime(QDate(2026, 3, 14), QTime(10, 0, 0)));
        test::record().RavenStartTime = now();
        TForm12 *w = openWindow();
        QStringList texts = keyTexts();
        texts[14] = QStringLiteral("5 ");
        fill(w, texts);
        clock.advance(60);
        test::click(w->Button1);
        QCOMPARE(messages.last(), QStringLiteral("Введены неверные данные!"));
        QCOMPARE(w->RavenAnswer[13], ravenKey[13]);

        test::retype(w->Edits[0], QStringLiteral("1"));
        test::retype(w->Edits[14], QStringLiteral("5"));
        clock.advance(60);
        test::click(w->Button1);
        QCOMPARE(messages.texts.size(), 1);
        QCOMPARE(test::record().RavenTotal, 14);
        QCOMPARE(test::record().RavenBlock1, 2);
        QCOMPARE(test::record().RavenBlock5, 3);
        QCOMPARE(test::record().RavenDurationText, QStringLiteral("0:02:00"));
    }

    void runWritesItsLinesToTheResultsFile()
    {
        test::WorkingDirectory directory;
        test::MessageLog messages;
        test::FixedClock clock(QDateTime(QDate(2026, 3, 14), QTime(10, 0, 0)));
        test::record().InfoStartMoment = now();
        clock.advance(3600);
        test::record().RavenStartTime = now();
        test::record().RavenStartMonotonic = monotonicMilliseconds();
        TForm12 *w = openWindow();
        fill(w, textsOf(allOf(2)));
        clock.advance(7 * 60 + 45);
        test::click(w->Button1);
        QCOMPARE(messages.texts, QStringList());

        TForm13 *completion = currentInstance<TForm13>;
        QVERIFY(completion);
        test::clickItem(completion->RadioGroup1, 0);
        test::clickItem(completion->RadioGroup2, 2);
        test::clickItem(completion->RadioGroup3, 3);
        test::typeText(completion->Edit1, QStringLiteral("врач"));
        test::typeText(completion->Edit2, QStringLiteral("ivan@example.org"));
        test::click(completion->Button1);

        const QStringList lines = test::resultsFileLines(directory.path() + QStringLiteral("/Петров_Иван_1.txt"));
        QCOMPARE(lines.size(), 69);
        QCOMPARE(lines.mid(55, 7), (QStringList{"0:07:45", "4", "1", "0", "1", "1", "1"}));
    }
};

QTEST_MAIN(Form12Test)
#include "tst_form12.moc"
