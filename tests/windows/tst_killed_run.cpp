#include "engine/DichoticWords.h"
#include "engine/ItemFile.h"
#include "support/EngineSupport.h"
#include "support/JournalSupport.h"
#include "support/WindowSupport.h"
#include "windows/Form.h"
#include "windows/RadioGroup.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <cstdio>

// The battery killed for real (SIGKILL on Linux, TerminateProcess on
// Windows) at points all through a run, with resuming on: this suite starts
// itself as the battery, which a subject works through until the journal of
// the point is on the disk; the suite kills it there and starts it again,
// and the subject goes on from where the run was taken up and finishes. The
// results file must be the one of a run in one go, but for its finishing
// time and duration; no recording may sound twice; a subject who withdraws
// after the restart leaves no journal.
namespace {

// The run starts at this moment; a restart comes an hour later.
const QDateTime started{QDate(2026, 12, 8), QTime(9, 5, 0)};
constexpr int restartAfterSeconds = 3600;

const char childOption[] = "--as-battery";

// The one window on screen.
Form *shownWindow()
{
    Form *shown = nullptr;
    for (QWidget *widget : QApplication::topLevelWidgets())
        if (auto *form = qobject_cast<Form *>(widget); form && form->isVisible()) {
            QTEST_ASSERT(!shown);
            shown = form;
        }
    QTEST_ASSERT(shown);
    return shown;
}

QString classOf(const QObject *window)
{
    return QString::fromLatin1(window->metaObject()->className());
}

template <class Control>
Control *control(QWidget *window, const char *kind, int number)
{
    auto *found = window->findChild<Control *>(QLatin1String(kind) + QString::number(number));
    QTEST_ASSERT(found);
    return found;
}
QLineEdit *edit(QWidget *window, int number) { return control<QLineEdit>(window, "Edit", number); }
QPushButton *button(QWidget *window, int number) { return control<QPushButton>(window, "Button", number); }
RadioGroup *radioGroup(QWidget *window, int number) { return control<RadioGroup>(window, "RadioGroup", number); }

void say(const QString &line)
{
    std::fputs(qPrintable(line + u'\n'), stdout);
    std::fflush(stdout);
}

// A field given its answer as a subject finishes it, with Enter.
void answerField(QLineEdit *field, const QString &text)
{
    test::typeText(field, text);
    QTest::keyClick(field, Qt::Key_Return);
}

// What a subject does of a listening series or of the mathematics sheet
// before the battery is killed inside it.
constexpr int recordingsBefore = 5;
constexpr int wordsBefore = 1;
constexpr int problemsBefore = 7;

// A subject who gives every window the same answers, from whichever window
// the run starts at, and spends a minute on each window; who, after a
// restart inside a window, does only what was not done before, so that
// anything the battery lost shows in the results. Each recording requested
// is said on standard output with its window.
class Subject
{
public:
    explicit Subject(test::FixedClock &clock)
        : clock(clock)
    {
    }

    // The window's answers, accepted: all of them, or the rest of them
    // after the part done before a restart.
    void answer(Form *window, bool partDone = false)
    {
        clock.advance(60);
        const QString name = classOf(window);
        if (name == u"TForm1") {
            test::typeText(edit(window, 1), QStringLiteral("Иванова"));
            test::typeText(edit(window, 2), QStringLiteral("Анна"));
            test::typeText(edit(window, 3), QStringLiteral("Школа №5"));
            test::typeText(edit(window, 4), QStringLiteral("9"));
            test::typeText(edit(window, 5), QStringLiteral("15"));
            test::typeText(edit(window, 6), QStringLiteral("05"));
            test::typeText(edit(window, 7), QStringLiteral("2004"));
            for (const auto &[group, item] : {std::pair{2, 0}, {1, 0}, {5, 1}, {6, 1}, {3, 0}, {4, 1}, {7, 1}})
                test::clickItem(radioGroup(window, group), item);
            test::click(button(window, 1));
        } else if (name == u"TForm2") {
            // A sister born 3.7.2001 and a brother without his date.
            test::clickItem(radioGroup(window, 201), 0);
            test::typeText(edit(window, 202), QStringLiteral("3"));
            test::typeText(edit(window, 203), QStringLiteral("7"));
            test::typeText(edit(window, 204), QStringLiteral("2001"));
            test::clickItem(radioGroup(window, 202), 1);
            test::click(button(window, 201));
        } else if (name == u"TForm4") {
            for (int group = 1; group <= 17; ++group)
                test::clickItem(radioGroup(window, group), group % 2);
            test::typeText(edit(window, 18), QStringLiteral("15"));
            test::click(button(window, 1));
        } else if (name == u"TForm11") {
            test::clickItem(radioGroup(window, 1), 1);
            test::click(button(window, 1));
        } else if (name == u"TForm5" || name == u"TForm6") {
            listen(window, partDone ? recordingsBefore : 0, recordingCount, partDone ? wordsBefore : 0,
                   int(words(name).size()));
            test::click(button(window, 14));
        } else if (name == u"TForm10") {
            test::click(button(window, 1));
        } else if (name == u"TForm7") {
            solve(window, partDone ? problemsBefore : 0, int(mathAnswers.size()));
            // The 60 minutes are up.
            QTEST_ASSERT(QMetaObject::invokeMethod(window->findChild<QTimer *>(QStringLiteral("Timer1")), "timeout"));
            test::click(button(window, 2));
        } else if (name == u"TForm8") {
            test::typeText(edit(window, 1), QStringLiteral("8"));
            test::typeText(edit(window, 2), QStringLiteral("27"));
            for (int operation : {1, 2, 4})
                test::click(button(window, operation));
        } else if (name == u"TForm9") {
            for (int rule : {3, 5, 9, 1, 14, 24, 14, 19, 20, 25, 30, 34, 37})
                test::click(button(window, rule));
        } else if (name == u"TForm12") {
            for (int item = 1; item <= 15; ++item)
                test::typeText(edit(window, item), matrixChoices[item - 1]);
            test::click(button(window, 1));
        } else if (name == u"TForm13") {
            test::clickItem(radioGroup(window, 1), 0);
            test::clickItem(radioGroup(window, 2), 2);
            test::clickItem(radioGroup(window, 3), 3);
            test::typeText(edit(window, 1), QStringLiteral("врач"));
            test::typeText(edit(window, 2), QStringLiteral("a@b.ru"));
            test::click(button(window, 1));
        }
    }

    // Part of a listening series or of the mathematics sheet, not accepted.
    void answerPart(Form *window)
    {
        clock.advance(30);
        if (classOf(window) == u"TForm7")
            solve(window, 0, problemsBefore);
        else
            listen(window, 0, recordingsBefore, 0, wordsBefore);
    }

private:
    static QStringList words(const QString &series)
    {
        return series == u"TForm5" ? QStringList{"свист", "хлеб", "трос"}
                                   : QStringList{"крюк", "плеть", "свист", " Плеть"};
    }

    // Plays recordings `from` + 1 to `to` in turn, each cutting the one
    // before short, then types words `fromWord` + 1 to `toWord` into their
    // answer fields.
    void listen(Form *window, int from, int to, int fromWord, int toWord)
    {
        for (int recording = from + 1; recording <= to; ++recording) {
            const qsizetype before = sounds.paths.size();
            test::click(button(window, recording));
            if (sounds.paths.size() > before)
                say(QStringLiteral("played %1 %2").arg(classOf(window), sounds.paths.last()));
        }
        sounds.finish();
        for (int word = fromWord; word < toWord; ++word)
            answerField(edit(window, word + 1), words(classOf(window))[word]);
    }

    // Problems `from` + 1 to `to` solved.
    void solve(Form *window, int from, int to)
    {
        for (int problem = from; problem < to; ++problem)
            answerField(edit(window, problem + 1), mathAnswers[problem]);
    }

    const QStringList mathAnswers{"35", "10", "5", "0", "863", "-1", "13", "-2", "75", "3", "280", "14", "57", "990", "22"};
    const QStringList matrixChoices{"3", "4", "2", "3", "4", "8", "1", "6", "2", "2", "5", "6", "2", "4", "1"};
    test::FixedClock &clock;
    test::SoundLog sounds;
};

// The battery as this suite starts it (the arguments after childOption): a
// run to `point` ("after TForm4": that window accepted; "inside TForm5":
// part of it answered), said "durable" once the journal of the point is on
// the disk, then waiting to be killed; or, started again, "finish" the run
// taken up (said "saved"; "fresh" when there was nothing to take up) where
// it was killed at `killedAt`, or "withdraw" from it at once (said
// "withdrawn"); or the "whole" run in one go.
int runAsBattery(const QString &point, const QString &journal, int clockSeconds, const QString &killedAt)
{
    test::FixedClock clock(started.addSecs(clockSeconds));
    test::useRussianSettings();
    test::settings().itemData = true;
    test::MessageLog messages;
    const bool resuming = QFileInfo::exists(journal);
    if (resuming)
        messages.answers << QStringLiteral("Продолжить");
    Subject subject(clock);
    Form *window = test::runUnderTest().begin(journal);
    if (point == u"finish" && !resuming) {
        say(QStringLiteral("fresh"));
        return 0;
    }
    if (point == u"withdraw") {
        messages.answers << QStringLiteral("Прервать");
        window->close();
        say(QStringLiteral("withdrawn"));
        return 0;
    }
    const auto durable = [] {
        test::session().drainJournal();
        say(QStringLiteral("durable"));
        // Until killed; a battery whose suite has gone ends on its own.
        QTimer::singleShot(60'000, qApp, &QCoreApplication::quit);
        return QApplication::exec();
    };
    for (bool partDone = resuming && killedAt.startsWith(u"inside ");; partDone = false) {
        const QString name = classOf(window);
        if (point == QStringLiteral("inside ") + name) {
            subject.answerPart(window);
            return durable();
        }
        subject.answer(window, partDone);
        if (point == QStringLiteral("after ") + name)
            return durable();
        if (name == u"TForm13") {
            say(QStringLiteral("saved"));
            return 0;
        }
        window = shownWindow();
    }
}

class KilledRunTest : public QObject
{
    Q_OBJECT

    QTemporaryDir inOneGo;
    QStringList linesInOneGo;

    // Starts the battery in `folder` and reads what it says until it says
    // `until` or ends; all it said.
    static QStringList startBattery(QProcess &battery, const QString &folder, const QStringList &task, const QString &until)
    {
        battery.setWorkingDirectory(folder);
        battery.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        battery.start(QCoreApplication::applicationFilePath(),
                      QStringList{QStringLiteral("-platform"), QGuiApplication::platformName(), QLatin1String(childOption)}
                          + task);
        QStringList said;
        const QDeadlineTimer deadline(30'000);
        while (!deadline.hasExpired() && (said.isEmpty() || said.last() != until)) {
            if (battery.canReadLine())
                said << QString::fromUtf8(battery.readLine()).trimmed();
            else if (battery.state() == QProcess::NotRunning)
                break;
            else
                battery.waitForReadyRead(100);
        }
        return said;
    }

    static QString journalIn(const QTemporaryDir &folder) { return folder.filePath(QStringLiteral("AppData/journal")); }

private slots:
    void initTestCase()
    {
        QProcess battery;
        const QStringList said = startBattery(battery, inOneGo.path(), {"whole", journalIn(inOneGo), "0"}, "saved");
        QVERIFY2(said.endsWith(QStringLiteral("saved")), qPrintable(said.join(u'\n')));
        QVERIFY(battery.waitForFinished());
        linesInOneGo = test::resultsFileLines(inOneGo.filePath(QStringLiteral("Иванова_Анна_1.txt")));
        QCOMPARE(linesInOneGo.size(), 69);
    }

    void aKilledRunGoesOnWhereItStopped_data()
    {
        QTest::addColumn<QString>("point");
        QTest::addColumn<QString>("ending");
        for (const char *window : {"TForm1", "TForm2", "TForm4", "TForm11", "TForm5", "TForm6", "TForm10", "TForm7",
                                   "TForm8", "TForm9", "TForm12", "TForm13"})
            QTest::addRow("after %s", window) << QStringLiteral("after ") + QLatin1String(window) << "finish";
        for (const char *window : {"TForm5", "TForm6", "TForm7"})
            QTest::addRow("inside %s", window) << QStringLiteral("inside ") + QLatin1String(window) << "finish";
        QTest::newRow("withdrawn after the restart") << "inside TForm6" << "withdraw";
    }

    void aKilledRunGoesOnWhereItStopped()
    {
        QFETCH(QString, point);
        QFETCH(QString, ending);
        QTemporaryDir folder;
        const QString journal = journalIn(folder);
        QProcess killed;
        const QStringList before = startBattery(killed, folder.path(), {point, journal, "0"}, "durable");
        QVERIFY2(before.endsWith(QStringLiteral("durable")), qPrintable(before.join(u'\n')));
        killed.kill();
        QVERIFY(killed.waitForFinished());
        QCOMPARE(killed.exitStatus(), QProcess::CrashExit);

        QProcess again;
        const QString last = ending == u"finish" ? point == u"after TForm13" ? "fresh" : "saved" : "withdrawn";
        const QStringList after = startBattery(again, folder.path(), {ending, journal, QString::number(restartAfterSeconds), point}, last);
        QVERIFY2(after.endsWith(last), qPrintable(after.join(u'\n')));
        QVERIFY(again.waitForFinished());

        // No recording sounded twice in a series; all of them once in a finished run.
        const QStringList played = (before + after).filter(QRegularExpression(QStringLiteral("^played ")));
        QCOMPARE(QSet<QString>(played.begin(), played.end()).size(), played.size());
        if (ending == u"withdraw") {
            QCOMPARE(QDir(QFileInfo(journal).absolutePath()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
                     QStringList());
            QVERIFY(!QFile::exists(folder.filePath(QStringLiteral("Иванова_Анна_1.txt"))));
            return;
        }
        QCOMPARE(played.size(), 2 * recordingCount);
        QVERIFY(!QFile::exists(journal));

        // The run in one go's results file, but for the finishing time and the duration.
        QStringList lines = test::resultsFileLines(folder.filePath(QStringLiteral("Иванова_Анна_1.txt")));
        QCOMPARE(lines.size(), 69);
        QStringList expected = linesInOneGo;
        for (const int finish : {62, 63})
            lines[finish] = expected[finish] = QString();
        QCOMPARE(lines, expected);
        const QList<QStringList> rows = readItemFile(test::fileBytes(folder.filePath(QStringLiteral("Иванова_Анна_1.items.tsv")))).rows;
        const auto resumed = std::count_if(rows.begin(), rows.end(), [](const QStringList &row) { return row[ItemIdColumn] == u"resumed"; });
        QCOMPARE(resumed, point == u"after TForm13" ? 0 : 1);
    }
};

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    app.setAttribute(Qt::AA_Use96Dpi, true);
    const QStringList arguments = QApplication::arguments();
    if (const qsizetype child = arguments.indexOf(QLatin1String(childOption)); child > 0)
        return runAsBattery(arguments.value(child + 1), arguments.value(child + 2), arguments.value(child + 3).toInt(),
                            arguments.value(child + 4));
    KilledRunTest test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_killed_run.moc"
