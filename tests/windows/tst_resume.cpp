#include "engine/DateTime.h"
#include "engine/ItemFile.h"
#include "engine/JournalFile.h"
#include "engine/MonotonicClock.h"
#include "engine/StudySettings.h"
#include "engine/Version.h"
#include "forms/Sequence.h"
#include "forms/Unit5.h"
#include "forms/Unit12.h"
#include "forms/Unit13.h"
#include "forms/Unit7.h"
#include "support/JournalSupport.h"
#include "support/SimulatedRun.h"
#include "support/WindowSupport.h"
#include "windows/RadioGroup.h"

#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

// A run interrupted by the machine goes on at the next start where it
// stopped; a run ended by the subject leaves nothing behind. The process is
// "killed" by dropping everything it holds in memory without any of its
// endings running: only the journal on disk survives, as after SIGKILL.
class ResumeTest : public QObject
{
    Q_OBJECT

    QTemporaryDir appData;
    std::optional<test::FakeMonotonicClock> steady;
    std::optional<test::FixedClock> clock;
    const QDateTime started{QDate(2026, 12, 8), QTime(12, 28, 5)};

    QString journal() const { return journalPathIn(appData.path()); }

    // The windows and the run as an abruptly ended process leaves them: gone.
    static void kill()
    {
        test::resetRun();
    }

    // Starts the battery as main does with resuming on; the run so far.
    Form *startAgain(test::MessageLog &messages, const QStringList &answers)
    {
        messages.answers = answers;
        return test::runUnderTest().begin(journal());
    }

    // A run that has reached the window of `className`: a record of its own
    // accepted window by window, the journal written at each.
    Form *runUpTo(const QString &className)
    {
        Form *window = test::runUnderTest().begin(journal());
        test::record() = test::everyFieldSet();
        test::record().InfoHasSiblings = QStringLiteral("1");
        test::record().InfoStartMoment = toDateTime(started);
        test::record().InfoStartMonotonic = 0; // `started`, on the monotonic clock made with it
        while (QLatin1String(window->metaObject()->className()) != className)
            window = test::runUnderTest().forward(window);
        return window;
    }

private slots:
    void init()
    {
        QDir(appData.path()).removeRecursively();
        QDir().mkpath(appData.path());
        test::resetRun();
        test::settings() = StudySettings{};
        test::settings().itemData = true;
        clock.emplace(started);
        steady.emplace(); // after the wall clock, whose own monotonic clock it replaces: sessions run on this one
    }

    void cleanup()
    {
        kill();
        clock.reset();
        steady.reset();
        test::settings() = StudySettings{};
    }

    void goesOnAtTheWindowInProgress_data()
    {
        QTest::addColumn<QString>("window");
        QTest::addColumn<int>("tasksDone");
        QTest::newRow("siblings") << "TForm2" << 1;
        QTest::newRow("hand and eye") << "TForm4" << 2;
        QTest::newRow("formulas") << "TForm11" << 3;
        QTest::newRow("listening series 1") << "TForm5" << 4;
        QTest::newRow("listening series 2") << "TForm6" << 5;
        QTest::newRow("mathematics start") << "TForm10" << 6;
        QTest::newRow("mathematics sheet") << "TForm7" << 7;
        QTest::newRow("calculator") << "TForm8" << 8;
        QTest::newRow("calculator rules") << "TForm9" << 9;
        QTest::newRow("matrices") << "TForm12" << 10;
        QTest::newRow("completion") << "TForm13" << 11;
    }

    void goesOnAtTheWindowInProgress()
    {
        QFETCH(QString, window);
        QFETCH(int, tasksDone);
        test::MessageLog messages;
        runUpTo(window);
        steady->advance(5000);
        const RunRecord before = test::record();
        const QByteArray itemsBefore = test::items().session().toUtf8();
        kill();

        clock->advance(3 * 3600);
        Form *resumed = startAgain(messages, {QStringLiteral("Продолжить")});
        QCOMPARE(QLatin1String(resumed->metaObject()->className()), window);
        QVERIFY(resumed->isVisible());
        // Every answer as it was; the monotonic clock's readings go on from the
        // journal's write, 5 s before this process's start.
        RunRecord expected = before;
        expected.InfoStartMonotonic += 5000;
        expected.RavenStartMonotonic += 5000;
        QVERIFY(test::record() == expected);
        QCOMPARE(test::items().session().toUtf8(), itemsBefore);
        QCOMPARE(messages.texts.size(), 1);
        QVERIFY2(messages.texts[0].startsWith(QStringLiteral("Продолжить прерванное тестирование?")),
                 qPrintable(messages.texts[0]));
        for (const QString &shown : {QStringLiteral("Иванова Анна"), QStringLiteral("07.12.2026 в 9:05:00"),
                                     QStringLiteral("Выполнено заданий: %1").arg(tasksDone)})
            QVERIFY2(messages.texts[0].contains(shown), qPrintable(messages.texts[0]));

        // Kept again at once, with this interruption in it.
        test::session().drainJournal();
        const ReadJournal kept = readJournal(test::fileBytes(journal()));
        QVERIFY(kept.journal);
        QCOMPARE(kept.journal->interruptions, (QList<Interruption>{{3 * 3600, window}}));
    }

    // Recordings played stay spent, their words stay; the rest can be played.
    void aListeningSeriesKeepsItsSpentRecordingsAndWords()
    {
        test::MessageLog messages;
        test::SoundLog sounds;
        auto *series = static_cast<TForm5 *>(runUpTo(QStringLiteral("TForm5")));
        for (int recording = 1; recording <= 5; ++recording)
            test::click(series->playButtons[recording - 1]);
        test::typeText(series->answers[0], QStringLiteral("свист"));
        emit series->answers[0]->editingFinished();
        kill();

        series = qobject_cast<TForm5 *>(startAgain(messages, {QStringLiteral("Продолжить")}));
        QVERIFY(series);
        QCOMPARE(series->answers[0]->text(), QStringLiteral("свист"));
        // The headphone check as between two recordings: nothing sounds after
        // a restart; a recording played makes it wait.
        auto *check = series->findChild<QPushButton *>(QStringLiteral("ButtonHeadphones"));
        QVERIFY(check->isEnabled());
        for (QPushButton *play : series->playButtons)
            test::click(play);
        QVERIFY(!check->isEnabled());
        sounds.finish();
        QVERIFY(check->isEnabled());
        QCOMPARE(sounds.paths.size(), 13);
        QCOMPARE(QSet<QString>(sounds.paths.begin(), sounds.paths.end()).size(), 13);
    }

    // The answers stay; the lock comes at 60 minutes on the sheet in all, the
    // warning once, when they pass 50: at once after a resume past them if it
    // was not shown before (as when the sheet's clock and its timers parted
    // in a sleeping computer), never again if it was, and not when the lock
    // is due as well.
    void theMathematicsSheetKeepsItsAnswersAndTime_data()
    {
        QTest::addColumn<int>("typedAt");  // minutes on the sheet when an answer is kept
        QTest::addColumn<int>("warnedAt"); // when the warning is shown; 0: never
        QTest::addColumn<QStringList>("shownAfterResume");
        QTest::addColumn<int>("warningInMinutes"); // -1: none to come
        QTest::addColumn<int>("lockInMinutes");    // -1: locked
        const QString warning = QStringLiteral("Осталось 10 минут! Помните, что для ответа можно использовать только числа!");
        const QString locked = QStringLiteral("Время истекло! Вы больше не можете вводить или изменять ответы. Переходите к "
                                              "следующему заданию.");
        QTest::newRow("before the warning") << 30 << 0 << QStringList{} << 20 << 30;
        QTest::newRow("warned, then an answer") << 52 << 50 << QStringList{} << -1 << 8;
        QTest::newRow("warned after the last answer") << 45 << 50 << QStringList{} << -1 << 10;
        QTest::newRow("past 50 minutes, not warned") << 52 << 0 << QStringList{warning} << -1 << 8;
        QTest::newRow("past the lock, not warned") << 61 << 0 << QStringList{locked} << -1 << -1;
    }

    void theMathematicsSheetKeepsItsAnswersAndTime()
    {
        QFETCH(int, typedAt);
        QFETCH(int, warnedAt);
        QFETCH(QStringList, shownAfterResume);
        QFETCH(int, warningInMinutes);
        QFETCH(int, lockInMinutes);
        constexpr qint64 minute = 60 * 1000;
        test::MessageLog messages;
        auto *sheet = static_cast<TForm7 *>(runUpTo(QStringLiteral("TForm7")));
        QList<int> moments{typedAt, warnedAt};
        moments.removeAll(0);
        std::sort(moments.begin(), moments.end());
        int at = 0;
        for (const int moment : moments) {
            steady->advance((moment - at) * minute);
            at = moment;
            if (moment == warnedAt) {
                sheet->Timer2->start(0); // its time come, on the sheet's clock
                QTRY_COMPARE(messages.texts.size(), 1);
            } else {
                test::typeText(sheet->answerFields[4], QStringLiteral("863"));
                emit sheet->answerFields[4]->editingFinished();
            }
        }
        steady->advance(minute); // lost with the process
        kill();

        messages.texts.clear();
        sheet = qobject_cast<TForm7 *>(startAgain(messages, {QStringLiteral("Продолжить")}));
        QVERIFY(sheet);
        QCOMPARE(sheet->answerFields[4]->text(), QStringLiteral("863"));
        QTest::qWait(100);
        QCOMPARE(messages.texts.mid(1), shownAfterResume);
        for (const auto &[timer, minutes] :
             {std::pair(sheet->Timer2, warningInMinutes), std::pair(sheet->Timer1, lockInMinutes)}) {
            QCOMPARE(timer->isActive(), minutes >= 0);
            if (minutes >= 0)
                QVERIFY2(qAbs(timer->remainingTime() - minutes * minute) < 2000,
                         qPrintable(QString::number(timer->remainingTime())));
        }
    }

    // The matrices' time is the time spent on them, summed over the sessions,
    // each on the monotonic clock of its own process; the time after the last
    // answer kept before the interruption is lost with it.
    void theMatricesTimeIsTheSumOfItsSessions()
    {
        constexpr qint64 minute = 60 * 1000;
        test::MessageLog messages;
        Form *rules = runUpTo(QStringLiteral("TForm9"));
        steady->advance(90 * minute);
        // As the rules window's forward handler starts them.
        test::record().RavenStartTime = now();
        test::record().RavenStartMonotonic = monotonicMilliseconds();
        auto *matrices = static_cast<TForm12 *>(test::runUnderTest().forward(rules));
        steady->advance(4 * minute);
        test::typeText(matrices->Edits[0], QStringLiteral("3"));
        emit matrices->Edits[0]->editingFinished();
        steady->advance(minute);
        kill();

        steady.reset();
        steady.emplace(); // the monotonic clock of a new process
        steady->advance(7 * 1000);
        matrices = qobject_cast<TForm12 *>(startAgain(messages, {QStringLiteral("Продолжить")}));
        QVERIFY(matrices);
        steady->advance(3 * minute);
        for (QLineEdit *answer : matrices->Edits)
            test::retype(answer, QStringLiteral("1"));
        test::click(matrices->Button1);
        QCOMPARE(test::record().RavenDurationText, QStringLiteral("0:07:00"));
    }

    // The results file's duration is the time spent in the battery: the gaps
    // between the sessions are not counted; the item file has a row of each.
    // A saved run leaves no journal.
    void aResumedRunIsSavedWithTheSumOfItsSessions()
    {
        test::MessageLog messages;
        test::WorkingDirectory dir;
        test::useRussianSettings();
        clock->advance(3600); // an hour of the first session
        steady->advance(3600 * 1000);
        runUpTo(QStringLiteral("TForm12"));
        kill();

        clock->advance(2 * 3600);
        Form *matrices = startAgain(messages, {QStringLiteral("Продолжить")});
        test::runUnderTest().forward(matrices);
        kill();

        clock->advance(3 * 3600);
        auto *last = qobject_cast<TForm13 *>(startAgain(messages, {QStringLiteral("Продолжить")}));
        QVERIFY(last);
        steady->advance(125 * 1000);
        test::clickItem(last->RadioGroup1, 0);
        test::clickItem(last->RadioGroup2, 2);
        test::clickItem(last->RadioGroup3, 3);
        test::typeText(last->Edit1, QStringLiteral("врач"));
        test::typeText(last->Edit2, QStringLiteral("a@b.ru"));
        test::click(last->Button1);
        const QStringList lines = test::resultsFileLines(QDir(dir.path()).filePath(QStringLiteral("Иванова_Анна_1.txt")));
        QCOMPARE(lines.size(), 69);
        QCOMPARE(lines[62], QStringLiteral("18:28:05"));
        QCOMPARE(lines[63], QStringLiteral("1:02:05"));
        QVERIFY(!QFile::exists(journal()));

        QList<QStringList> resumed; // kind, task, stimulus, response
        for (const QStringList &row : readItemFile(test::fileBytes(QDir(dir.path()).filePath(QStringLiteral("Иванова_Анна_1.items.tsv")))).rows)
            if (row[ItemIdColumn] == u"resumed")
                resumed << QStringList{row[KindColumn], row[TaskColumn], row[StimulusColumn], row[ResponseColumn]};
        QCOMPARE(resumed, (QList<QStringList>{{"event", "session", "TForm12", "7200"}, {"event", "session", "TForm13", "10800"}}));
    }

    // "Начать заново" asks once more, then deletes the journal; another
    // version's journal is not taken up: one line says why, and it is kept
    // aside for the study.
    void aJournalNotTakenUpIsDeletedOrSetAside_data()
    {
        QTest::addColumn<QString>("version");
        QTest::addColumn<QStringList>("answers");
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("lastMessage");
        QTest::addColumn<bool>("journalKept");
        QTest::addColumn<int>("filesLeft");
        const QString ownVersion = QString::fromLatin1(cogbatteryVersion);
        QTest::newRow("started afresh") << ownVersion << QStringList{"Начать заново", "Начать заново"} << "TForm1"
                                        << "Начать тестирование заново?" << false << 0;
        QTest::newRow("thought better of it") << ownVersion << QStringList{"Начать заново", "Продолжить прерванное"}
                                              << "TForm4" << "Начать тестирование заново?" << true << 1;
        QTest::newRow("another version") << "9.9.9" << QStringList{} << "TForm1" << "версией 9.9.9" << false << 1;
    }

    void aJournalNotTakenUpIsDeletedOrSetAside()
    {
        QFETCH(QString, version);
        QFETCH(QStringList, answers);
        QFETCH(QString, window);
        QFETCH(QString, lastMessage);
        QFETCH(bool, journalKept);
        QFETCH(int, filesLeft);
        test::MessageLog messages;
        runUpTo(QStringLiteral("TForm4"));
        kill();
        Journal written = *readJournal(test::fileBytes(journal())).journal;
        written.batteryVersion = version;
        QCOMPARE(writeJournal(journal(), written), std::nullopt);

        const Form *shown = startAgain(messages, answers);
        QCOMPARE(QLatin1String(shown->metaObject()->className()), window);
        QVERIFY2(messages.last().contains(lastMessage), qPrintable(messages.last()));
        test::session().drainJournal(); // a resumed run writes its journal again, in the background
        QCOMPARE(QFile::exists(journal()), journalKept);
        QCOMPARE(QDir(appData.path()).entryList(QDir::Files).size(), filesLeft);
    }

    // The first window says where the journal lives and how long it is kept;
    // without resuming it says nothing of a journal.
    void theFirstWindowTellsOfTheJournal()
    {
        test::settings().resumeHours = 6;
        const auto welcome = [](const Form *first) { return first->findChild<QLabel *>(QStringLiteral("Label2"))->text(); };
        const QString told = welcome(test::runUnderTest().begin(journal()));
        for (const QString &said : {QDir::toNativeSeparators(appData.path()), QStringLiteral("6 ч")})
            QVERIFY2(told.contains(said), qPrintable(told));
        kill();
        QVERIFY(!welcome(test::runUnderTest().begin(QString())).contains(QStringLiteral("журнал")));
    }

    // "Прервать" on the close question leaves no journal anywhere.
    void withdrawalLeavesNothing()
    {
        test::MessageLog messages;
        Form *window = runUpTo(QStringLiteral("TForm7"));
        QVERIFY(QFile::exists(journal()));
        messages.answers = {QStringLiteral("Прервать")};
        window->close();
        QCOMPARE(QDir(appData.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden), QStringList());
    }
};

QTEST_MAIN(ResumeTest)
#include "tst_resume.moc"
