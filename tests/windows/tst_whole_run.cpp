#include "forms/Sequence.h"
#include "engine/ItemFile.h"
#include "engine/ItemRecount.h"
#include "engine/StudySettings.h"
#include "forms/Unit1.h"
#include "forms/Unit10.h"
#include "forms/Unit11.h"
#include "forms/Unit12.h"
#include "forms/Unit13.h"
#include "forms/Unit2.h"
#include "forms/Unit4.h"
#include "forms/Unit5.h"
#include "forms/Unit6.h"
#include "forms/Unit7.h"
#include "forms/Unit8.h"
#include "forms/Unit9.h"
#include "support/SimulatedRun.h"
#include "support/WindowSupport.h"
#include "windows/RadioGroup.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

// One subject from the first window to "Закончить", through the real widgets,
// and the results file compared line by line with what the study expects;
// with item data, the item file's times on a fake monotonic clock, and its
// rows recounted into the summary lines counted by hand.
class WholeRunTest : public QObject
{
    Q_OBJECT

    test::FakeMonotonicClock steady;

    template <class T>
    static T *shown()
    {
        T *window = currentInstance<T>.data();
        if (!window || !window->isVisible())
            qFatal("%s is not the window shown", T::staticMetaObject.className());
        if (auto *subject = window->template findChild<QLineEdit *>(QStringLiteral("Edit105")))
            QTEST_ASSERT(subject->text() == QStringLiteral("Иванова Анна"));
        return window;
    }

    // The window's control of that kind and number: Edit3, Button14, …
    template <class Control>
    static Control *control(QWidget *w, const char *kind, int number)
    {
        return w->findChild<Control *>(QLatin1String(kind) + QString::number(number));
    }
    static QLineEdit *edit(QWidget *w, int number) { return control<QLineEdit>(w, "Edit", number); }
    static QPushButton *button(QWidget *w, int number) { return control<QPushButton>(w, "Button", number); }

    // Plays all thirteen recordings 20 s after the window's showing and types
    // the given words into the answer fields of recording 1, 9 s later.
    void listen(QWidget *w, const QStringList &recalled)
    {
        steady.advance(20000);
        for (int recording = 1; recording <= 13; ++recording)
            test::click(button(w, recording));
        steady.advance(9000);
        for (int i = 0; i < recalled.size(); ++i)
            test::typeText(edit(w, i + 1), recalled[i]);
        test::click(button(w, 14));
    }

private slots:
    void aRunWithSiblingsWritesEveryLine_data()
    {
        QTest::addColumn<bool>("itemData");
        QTest::newRow("the results file alone") << false;
        QTest::newRow("with item data") << true;
    }

    void aRunWithSiblingsWritesEveryLine()
    {
        QFETCH(bool, itemData);
        studySettings().itemData = itemData;
        test::resetRun();
        test::useRussianSettings();
        test::WorkingDirectory dir;
        test::MessageLog messages;
        test::SoundLog sounds;
        test::FixedClock clock(QDateTime(QDate(2026, 3, 9), QTime(10, 0, 0)));

        sequence::start();
        TForm1 *first = shown<TForm1>();
        test::typeText(first->Edit1, QStringLiteral("Иванова"));
        test::typeText(first->Edit2, QStringLiteral("Анна"));
        test::clickItem(first->RadioGroup2, 0);
        test::typeText(first->Edit3, QStringLiteral("Школа №5"));
        test::typeText(first->Edit4, QStringLiteral("9"));
        test::typeText(first->Edit5, QStringLiteral("15"));
        test::typeText(first->Edit6, QStringLiteral("05"));
        test::typeText(first->Edit7, QStringLiteral("2004"));
        test::clickItem(first->RadioGroup1, 0);
        test::clickItem(first->RadioGroup5, 1);
        test::clickItem(first->RadioGroup6, 1);
        test::clickItem(first->RadioGroup3, 0);
        test::clickItem(first->RadioGroup4, 1);
        test::clickItem(first->RadioGroup7, 1);
        test::click(first->Button1);

        TForm2 *siblings = shown<TForm2>();
        QCOMPARE(siblings->Edit1->text(), QStringLiteral("Иванова Анна"));
        test::clickItem(siblings->RadioGroups[0], 0);
        test::typeText(siblings->DayEdits[0], QStringLiteral("3"));
        test::typeText(siblings->MonthEdits[0], QStringLiteral("7"));
        test::typeText(siblings->YearEdits[0], QStringLiteral("2001"));
        test::clickItem(siblings->RadioGroups[1], 1);
        test::click(siblings->Button201);

        TForm4 *hands = shown<TForm4>();
        steady.advance(4000);
        for (int number = 1; number <= 17; ++number)
            test::clickItem(control<RadioGroup>(hands, "RadioGroup", number), 0);
        test::typeText(hands->Edit18, QStringLiteral("15"));
        test::click(hands->Button1);

        TForm11 *formulas = shown<TForm11>();
        test::clickItem(formulas->RadioGroup1, 1);
        test::click(formulas->Button1);

        listen(shown<TForm5>(), {QStringLiteral("свист"), QStringLiteral("хлеб"), QStringLiteral("трос")});
        listen(shown<TForm6>(), {QStringLiteral("крюк"), QStringLiteral("плеть"), QStringLiteral("свист")});
        QCOMPARE(sounds.paths.size(), 26);
        QCOMPARE(sounds.paths.last(), QStringLiteral("sound/13.wav"));

        test::click(button(shown<TForm10>(), 1));
        TForm7 *sheet = shown<TForm7>();
        // Keys for a name of 4 and a surname of 7 letters; problem 13 wrong.
        // All typed 302 s after the start; then the 60 minutes are up.
        const QStringList answers = {"35", "10", "5", "0", "863", "-1", "13", "-2",
                                     "75", "3", "280", "14", "57", "990", "22"};
        steady.advance(302000);
        for (int item = 1; item <= 15; ++item)
            test::typeText(edit(sheet, item), answers[item - 1]);
        QVERIFY(QMetaObject::invokeMethod(sheet->Timer1, "timeout"));
        test::click(sheet->Button2);

        TForm8 *calculator = shown<TForm8>();
        steady.advance(10000);
        test::typeText(calculator->Edit1, QStringLiteral("8"));
        test::typeText(calculator->Edit2, QStringLiteral("27"));
        test::click(calculator->Button1);
        test::click(calculator->Button2);
        test::click(calculator->Button4);

        TForm9 *rules = shown<TForm9>();
        // ЛАСМ found but one false rule added; ВАДЛ and ПАРМ exactly.
        for (int number : {3, 5, 9, 1, 14, 19, 20, 25, 30, 34})
            test::click(button(rules, number));
        clock.set(QDateTime(QDate(2026, 3, 9), QTime(10, 40, 0)));
        test::click(rules->Button37);

        TForm12 *matrices = shown<TForm12>();
        const QStringList choices = {"3", "4", "2", "3", "4", "8", "1", "6", "2", "2", "5", "6", "2", "4", "1"};
        for (int item = 1; item <= 15; ++item)
            test::typeText(edit(matrices, item), choices[item - 1]);
        clock.set(QDateTime(QDate(2026, 3, 9), QTime(10, 52, 5)));
        test::click(matrices->Button1);

        TForm13 *last = shown<TForm13>();
        test::clickItem(last->RadioGroup1, 0);
        test::clickItem(last->RadioGroup2, 2);
        test::clickItem(last->RadioGroup3, 3);
        test::typeText(last->Edit1, QStringLiteral("врач"));
        test::typeText(last->Edit2, QStringLiteral("a@b.ru"));
        clock.set(QDateTime(QDate(2026, 3, 9), QTime(11, 25, 30)));
        test::click(last->Button1);

        const QString saved = QDir(dir.path()).filePath(QStringLiteral("Иванова_Анна_1.txt"));
        const QString items = QDir(dir.path()).filePath(QStringLiteral("Иванова_Анна_1.items.tsv"));
        const QString savedIn = itemData ? "файлы " + QDir::toNativeSeparators(saved) + " и "
                + QDir::toNativeSeparators(items) : "файл " + QDir::toNativeSeparators(saved);
        // The second message is the sheet's lock, checked by the sheet's own suite.
        QCOMPARE(messages.texts, (QStringList{"Переверните наушники!", messages.texts.value(1), "-19", "35",
                                              "Результаты сохранены в " + savedIn}));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files).size(), itemData ? 2 : 1);
        const QStringList expected = {
            "Иванова", "Анна", "0", "15.05.2004", "09.03.2026", "10:00:00", "Школа №5", "9", "1", "-1",
            "-1", "-1", "1", "-1", "7968", "22", "2",
            "сестра, день: 3, месяц: 7, год: 2001", "брат", "", "", "", "", "", "", "", "",
            "1", "0", "1",
            "1", "1", "1", "-1", "-1", "24", "1",
            "33,3333333333333", "расхождения нет", "1", "2", "1", "2", "1", "33,3333333333333", "33,3333333333333",
            "15", "8", "7",
            "2", "-1", "1", "1", "2",
            "1",
            "0:12:05", "14", "3", "3", "3", "3", "2",
            "11:25:30", "1:25:30", "1", "врач", "a@b.ru", "4", "5"};
        QCOMPARE(expected.size(), 69);
        QCOMPARE(test::resultsFileLines(saved), expected);
        // The file itself, kept where asked: scripts/windows.sh compares the one
        // written on Windows with the one written on Linux byte for byte.
        if (const QString keep = qEnvironmentVariable("COGBATTERY_KEEP_RESULTS_FILE"); !keep.isEmpty()) {
            QFile::remove(keep);
            QVERIFY(QFile::copy(saved, keep));
        }

        // Each window left behind deleted; the finish closed the last.
        QTRY_VERIFY(!currentInstance<TForm1> && !currentInstance<TForm2> && !currentInstance<TForm12>);
        QVERIFY(!last->isVisible());
        test::resetRun();
        studySettings().itemData = false;
        if (!itemData)
            return;

        QFile itemFile(items);
        const ReadItems read = readItemFile(itemFile.open(QIODevice::ReadOnly) ? itemFile.readAll() : QByteArray());
        QCOMPARE(read.problem, QString());
        for (const SummaryMismatch &m : summaryMismatches(read.rows, expected))
            QFAIL(qPrintable(m.field + QStringLiteral(" by the items: %1").arg(m.fromItems)));
        // item: response, onset, response_time, changes, ended_on
        const QHash<QString, QStringList> timed = {
            {"thumb", {"1", "0.000", "4.000", "1", "response"}},
            {"dichotic2-01B2", {"плеть", "20.000", "9.000", "5", "response"}},
            {"math05", {"863", "0.000", "302.000", "3", "timeout"}},
            {"calculator-lasm", {"8; 27", "10.000", "n/a", "n/a", "response"}}};
        QHash<QString, QStringList> found;
        for (const QStringList &row : read.rows)
            found.insert(row[ItemIdColumn], row.mid(ResponseColumn, 1) + row.mid(OnsetColumn));
        for (auto item = timed.begin(); item != timed.end(); ++item)
            QCOMPARE(found.value(item.key()), item.value());
    }
};

QTEST_MAIN(WholeRunTest)
#include "tst_whole_run.moc"
