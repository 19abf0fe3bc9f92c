#include "engine/DateTime.h"
#include "engine/Regional.h"
#include "engine/ResultsFile.h"
#include "forms/Unit1.h"
#include "forms/Unit13.h"
#include "support/WindowSupport.h"
#include "windows/RadioGroup.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <optional>

// The completion window: closing questions, finishing time, results file, finish.
// Each test meets the window of subject "А Б", whose run started at 10:00,
// at 11:25:30, in a working directory and a home folder of its own.
class Form13Test : public QObject
{
    Q_OBJECT

    const QDateTime start{QDate(2026, 3, 9), QTime(10, 0, 0)};
    std::optional<test::WorkingDirectory> dir;
    std::optional<test::HomeFolder> home;
    std::optional<test::FixedClock> clock;
    std::optional<test::MessageLog> messages;
    TForm13 *w = nullptr;

    // The message names the whole path, as the system writes paths.
    static QString savedIn(const QString &path)
    {
        return QStringLiteral("Результаты сохранены в файл ") + QDir::toNativeSeparators(path);
    }

    void answerAll()
    {
        test::clickItem(w->RadioGroup1, 1);
        test::clickItem(w->RadioGroup2, 2);
        test::clickItem(w->RadioGroup3, 3);
        test::retype(w->Edit1, QStringLiteral("врач"));
        test::retype(w->Edit2, QStringLiteral("a@b.ru"));
    }

private slots:
    void init()
    {
        test::resetRun();
        test::useRussianSettings();
        dir.emplace();
        home.emplace();
        clock.emplace(start);
        messages.emplace();
        test::record().InfoSurname = QStringLiteral("А");
        test::record().InfoName = QStringLiteral("Б");
        test::record().InfoStartMoment = toDateTime(start);
        clock->advance(85 * 60 + 30);
        w = test::makeWindow<TForm13>();
        w->present();
    }

    void cleanup()
    {
        test::resetRun();
        messages.reset();
        clock.reset();
        home.reset();
        dir.reset();
    }

    // Where "Закончить" puts the file: the working directory, at the next
    // free number; where that refuses files (removed: a read-only share
    // refuses even an administrator), Documents, else the home folder. The
    // finishing time follows the regional settings, the duration never does.
    void finishSavesTheFileAndClosesEveryWindow_data()
    {
        QTest::addColumn<QStringList>("earlier"); // files of the same name there before
        QTest::addColumn<QString>("documents");   // when the working directory refuses files: "folder", "none", "/proc"
        QTest::addColumn<QString>("locale");      // of the regional settings; empty: Russian
        QTest::addColumn<QString>("saved");
        QTest::addColumn<QString>("finish");
        QTest::newRow("working directory") << QStringList() << "" << "" << "А_Б_1.txt" << "11:25:30";
        QTest::newRow("a third subject of the same name")
            << QStringList{"А_Б_1.txt", "А_Б_2.txt"} << "" << "" << "А_Б_3.txt" << "11:25:30";
        QTest::newRow("Documents") << QStringList() << "folder" << "" << "А_Б_1.txt" << "11:25:30";
        QTest::newRow("home folder without Documents") << QStringList() << "none" << "" << "А_Б_1.txt" << "11:25:30";
        QTest::newRow("home folder, Documents refusing files") << QStringList() << "/proc" << "" << "А_Б_1.txt" << "11:25:30";
        QTest::newRow("US settings") << QStringList() << "" << "en_US" << "А_Б_1.txt" << "11:25:30 AM";
    }

    void finishSavesTheFileAndClosesEveryWindow()
    {
        QFETCH(QStringList, earlier);
        QFETCH(QString, documents);
        QFETCH(QString, locale);
        QFETCH(QString, saved);
        QFETCH(QString, finish);
        QString folder = dir->path();
        if (!documents.isEmpty()) {
            SKIP_WITHOUT_REMOVABLE_WORKING_DIRECTORY();
            QVERIFY(QDir().rmdir(dir->path()));
            folder = documents == u"folder" ? home->documents() : home->path();
            if (documents != u"folder")
                QVERIFY(QDir().rmdir(home->documents()));
            if (documents == u"/proc")
                QVERIFY(QFile::link(documents, home->documents()));
        }
        if (!locale.isEmpty())
            setRegional(regionalSettingsOf(QLocale(locale)));
        for (const QString &name : earlier) {
            QFile file(name);
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write("an earlier subject's results") > 0);
        }
        auto *first = test::makeWindow<TForm1>();
        answerAll();
        test::click(w->Button1);

        const QString path = QDir(folder).filePath(saved);
        QCOMPARE(messages->texts, QStringList{savedIn(path)}); // and no question on closing
        QCOMPARE(test::resultsFileLines(path).mid(62),
                 (QStringList{finish, "1:25:30", "-1", "врач", "a@b.ru", "4", "5"}));
        for (const QString &name : earlier) {
            QFile file(name);
            QVERIFY(file.open(QIODevice::ReadOnly));
            QCOMPARE(file.readAll(), QByteArray("an earlier subject's results"));
        }
        QVERIFY(!w->isVisible());
        QVERIFY(!first->isVisible());
    }

    // A missing answer, or a text the results file cannot hold (named with
    // its characters), writes nothing and keeps the window; corrected, the
    // same press saves.
    void refusedAnswersWriteNothingUntilCorrected_data()
    {
        QTest::addColumn<int>("skipped"); // the instrument, the marks, the career; -1: none
        QTest::addColumn<QString>("contact");
        QTest::addColumn<QStringList>("said");
        const QStringList unanswered{QStringLiteral("Ответьте на все вопросы!")};
        QTest::newRow("instrument") << 0 << "a@b.ru" << unanswered;
        QTest::newRow("algebra") << 1 << "a@b.ru" << unanswered;
        QTest::newRow("geometry") << 2 << "a@b.ru" << unanswered;
        QTest::newRow("career") << 3 << "a@b.ru" << unanswered;
        QTest::newRow("contact") << -1 << "" << unanswered;
        QTest::newRow("emoji in the contact") << -1 << "a@b.ru \U0001F44D" << QStringList{"Электронный адрес", "\U0001F44D"};
    }

    void refusedAnswersWriteNothingUntilCorrected()
    {
        QFETCH(int, skipped);
        QFETCH(QString, contact);
        QFETCH(QStringList, said);
        RadioGroup *groups[] = {w->RadioGroup1, w->RadioGroup2, w->RadioGroup3};
        for (int i = 0; i < 3; ++i)
            if (i != skipped)
                test::clickItem(groups[i], 0);
        if (skipped != 3)
            test::typeText(w->Edit1, QStringLiteral("врач"));
        w->Edit2->setText(contact);
        test::click(w->Button1);
        QCOMPARE(messages->texts.size(), 1);
        for (const QString &part : said)
            QVERIFY2(messages->last().contains(part), qPrintable(messages->last()));
        QCOMPARE(test::record().FinalFinishTime, QString());
        QCOMPARE(QDir(dir->path()).entryList(QDir::Files), QStringList());
        QVERIFY(w->isVisible());

        answerAll();
        test::click(w->Button1);
        QCOMPARE(messages->texts.size(), 2);
        QCOMPARE(QDir(dir->path()).entryList(QDir::Files), QStringList{QStringLiteral("А_Б_1.txt")});
    }

    void markCodes()
    {
        for (int i = 0; i < 4; ++i) {
            test::clickItem(w->RadioGroup2, i);
            test::clickItem(w->RadioGroup3, 3 - i);
            QCOMPARE(test::record().FinalAlgebraMark, QString::number(2 + i));
            QCOMPARE(test::record().FinalGeometryMark, QString::number(5 - i));
        }
        test::clickItem(w->RadioGroup1, 0);
        QCOMPARE(test::record().FinalMusicalInstrument, QStringLiteral("1"));
    }

    // The system's reason in Russian; pressing again later retries, with
    // the time of the press that saved.
    void aFullDiskIsReportedAndPressingAgainRetries()
    {
        SKIP_WITHOUT_FULL_DISK();
        answerAll();
        {
            test::FullDisk full;
            test::click(w->Button1);
        }
        QCOMPARE(messages->texts, QStringList{QStringLiteral("Неизвестная ошибка!\n"
                                                             "На диске нет места для файла такого размера.")});
        QVERIFY(w->isVisible());
        QCOMPARE(QDir(dir->path()).entryList(QDir::Files), QStringList());
        QCOMPARE(QDir(home->documents()).entryList(QDir::Files), QStringList());

        clock->advance(120);
        test::click(w->Button1);
        const QString path = QDir(dir->path()).filePath(QStringLiteral("А_Б_1.txt"));
        QCOMPARE(messages->last(), savedIn(path));
        QCOMPARE(test::resultsFileLines(path).mid(62, 2), (QStringList{"11:27:30", "1:27:30"}));
    }

    // Where no folder of the program's takes the file, the subject is told
    // why and may choose one; declining leaves the window and the run.
    void whereNoPlaceTakesTheFileASubjectChoosesAFolder_data()
    {
        QTest::addColumn<QStringList>("chosen"); // at each "Выбрать папку…"; empty: the chooser cancelled
        QTest::addColumn<int>("savedAfterTries");
        QTest::newRow("no folder chosen") << QStringList() << 0;
        QTest::newRow("chooser cancelled") << QStringList{""} << 0;
        QTest::newRow("USB stick") << QStringList{"usb"} << 1;
        QTest::newRow("a gone folder, then the stick") << QStringList{"gone", "usb"} << 2;
    }

    void whereNoPlaceTakesTheFileASubjectChoosesAFolder()
    {
        SKIP_WITHOUT_REMOVABLE_WORKING_DIRECTORY();
        QFETCH(QStringList, chosen);
        QFETCH(int, savedAfterTries);
        QTemporaryDir elsewhere;
        QVERIFY(QDir(elsewhere.path()).mkdir(QStringLiteral("usb")));
        QVERIFY(QDir().rmdir(dir->path()) && QDir(home->path()).removeRecursively());
        messages->answers = QStringList(chosen.size(), QStringLiteral("Выбрать папку…"));
        for (const QString &folder : chosen)
            messages->folders << (folder.isEmpty() ? QString() : QDir(elsewhere.path()).filePath(folder));
        answerAll();
        test::click(w->Button1);

        QStringList expected(std::max(1, savedAfterTries), QStringLiteral("Неизвестная ошибка!\nПапка не найдена."));
        const QString usb = QDir(elsewhere.path()).filePath(QStringLiteral("usb/А_Б_1.txt"));
        if (savedAfterTries)
            expected << savedIn(usb);
        QCOMPARE(messages->texts, expected);
        QCOMPARE(QFileInfo::exists(usb), savedAfterTries > 0);
        QCOMPARE(w->isVisible(), savedAfterTries == 0);
    }

    // The window's close button asks first: "Продолжить" keeps the run,
    // "Прервать" ends the program without a file.
    void closingAWindowAsksAndEndsTheProgramWithoutAFile()
    {
        messages->answers = QStringList{QStringLiteral("Продолжить"), QStringLiteral("Прервать")};
        answerAll();
        QVERIFY(!w->close());
        QVERIFY(w->isVisible());
        QTimer::singleShot(0, w, &QWidget::close);
        QTimer::singleShot(5000, qApp, [] { QCoreApplication::exit(1); }); // the program failed to end
        QCOMPARE(QCoreApplication::exec(), 0);
        QCOMPARE(messages->texts, QStringList(2, QStringLiteral("Прервать тестирование? Ответы не будут сохранены.")));
        QVERIFY(!w->isVisible());
        QCOMPARE(QDir(dir->path()).entryList(QDir::Files), QStringList());
    }
};

QTEST_MAIN(Form13Test)
#include "tst_form13.moc"
