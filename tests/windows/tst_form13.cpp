#include "engine/DateTime.h"
#include "engine/Regional.h"
#include "engine/ResultsFile.h"
#include "forms/Unit1.h"
#include "forms/Unit13.h"
#include "forms/Unit2.h"
#include "support/WindowSupport.h"
#include "windows/RadioGroup.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTextDocumentFragment>
#include <QTimer>

// The completion window: closing questions, finishing time, results file, finish.
class Form13Test : public QObject
{
    Q_OBJECT

    const QDateTime start{QDate(2026, 3, 9), QTime(10, 0, 0)};

    TForm13 *open()
    {
        run().InfoSurname = QStringLiteral("А");
        run().InfoName = QStringLiteral("Б");
        run().InfoStartMoment = toDateTime(start);
        auto *w = new TForm13;
        currentInstance<TForm13> = w;
        w->present();
        return w;
    }

    // The message names the whole path, as the system writes paths.
    static QString savedIn(const QString &path)
    {
        return QStringLiteral("Результаты сохранены в файл ") + QDir::toNativeSeparators(path);
    }

    static void answerAll(TForm13 *w)
    {
        test::clickItem(w->RadioGroup1, 1);
        test::clickItem(w->RadioGroup2, 2);
        test::clickItem(w->RadioGroup3, 3);
        test::typeText(w->Edit1, QStringLiteral("врач"));
        test::typeText(w->Edit2, QStringLiteral("a@b.ru"));
    }

private slots:
    void init()
    {
        test::resetRun();
        test::useRussianSettings();
    }

    void finishWritesTheFileAndClosesEveryWindow()
    {
        test::WorkingDirectory dir;
        test::FixedClock clock(start.addSecs(85 * 60 + 30));
        test::MessageLog messages;
        auto *first = new TForm1;
        currentInstance<TForm1> = first;
        TForm13 *w = open();
        answerAll(w);
        test::click(w->Button1);

        const QString path = QDir(dir.path()).filePath(QStringLiteral("А_Б_1.txt"));
        QCOMPARE(messages.texts, QStringList{savedIn(path)}); // and no question on closing
        const QStringList lines = test::resultsFileLines(path);
        QCOMPARE(lines.size(), 69);
        QCOMPARE(lines[62], QStringLiteral("11:25:30"));
        QCOMPARE(lines[63], QStringLiteral("1:25:30"));
        QCOMPARE(lines[64], QStringLiteral("-1"));
        QCOMPARE(lines[65], QStringLiteral("врач"));
        QCOMPARE(lines[66], QStringLiteral("a@b.ru"));
        QCOMPARE(lines[67], QStringLiteral("4"));
        QCOMPARE(lines[68], QStringLiteral("5"));
        QVERIFY(!w->isVisible());
        QVERIFY(!first->isVisible());
    }

    void aRunOfMoreThanADayLosesTheWholeDays()
    {
        test::WorkingDirectory dir;
        test::FixedClock clock(start.addSecs(25 * 3600));
        test::MessageLog messages;
        TForm13 *w = open();
        answerAll(w);
        test::click(w->Button1);
        QCOMPARE(run().FinalDuration, QStringLiteral("1:00:00"));
        QCOMPARE(run().FinalFinishTime, QStringLiteral("11:00:00"));
    }

    void everyAnswerIsRequired_data()
    {
        QTest::addColumn<int>("skipped");
        QTest::newRow("instrument") << 0;
        QTest::newRow("algebra") << 1;
        QTest::newRow("geometry") << 2;
        QTest::newRow("career") << 3;
        QTest::newRow("contact") << 4;
    }

    void everyAnswerIsRequired()
    {
        QFETCH(int, skipped);
        test::WorkingDirectory dir;
        test::FixedClock clock(start);
        test::MessageLog messages;
        TForm13 *w = open();
        RadioGroup *groups[] = {w->RadioGroup1, w->RadioGroup2, w->RadioGroup3};
        for (int i = 0; i < 3; ++i)
            if (i != skipped)
                test::clickItem(groups[i], 0);
        if (skipped != 3)
            test::typeText(w->Edit1, QStringLiteral("врач"));
        if (skipped != 4)
            test::typeText(w->Edit2, QStringLiteral("a@b.ru"));
        test::click(w->Button1);
        QCOMPARE(messages.texts, QStringList{QStringLiteral("Ответьте на все вопросы!")});
        QCOMPARE(run().FinalFinishTime, QString());
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList());
        QVERIFY(w->isVisible());
    }

    void aTextTheResultsFileCannotHoldIsReportedAndNoFileWritten()
    {
        test::WorkingDirectory dir;
        test::FixedClock clock(start.addSecs(3600));
        test::MessageLog messages;
        TForm13 *w = open();
        answerAll(w);
        w->Edit2->setText(QStringLiteral("a@b.ru \U0001F44D"));
        test::click(w->Button1);
        QCOMPARE(messages.texts.size(), 1);
        QVERIFY2(messages.last().contains(QStringLiteral("Электронный адрес")), qPrintable(messages.last()));
        QVERIFY(messages.last().contains(QStringLiteral("\U0001F44D")));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList());
        QVERIFY(w->isVisible());

        w->Edit2->setText(QStringLiteral("a@b.ru"));
        test::click(w->Button1);
        QCOMPARE(messages.texts.size(), 2);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files).size(), 1);
    }

    void markCodes()
    {
        TForm13 *w = open();
        for (int i = 0; i < 4; ++i) {
            test::clickItem(w->RadioGroup2, i);
            test::clickItem(w->RadioGroup3, 3 - i);
            QCOMPARE(run().FinalAlgebraMark, QString::number(2 + i));
            QCOMPARE(run().FinalGeometryMark, QString::number(5 - i));
        }
        test::clickItem(w->RadioGroup1, 0);
        QCOMPARE(run().FinalMusicalInstrument, QStringLiteral("1"));
    }

    void aFullDiskIsReportedAndPressingAgainRetries()
    {
        SKIP_WITHOUT_FULL_DISK();
        test::WorkingDirectory dir;
        test::HomeFolder home;
        test::FixedClock clock(start.addSecs(3600));
        test::MessageLog messages;
        TForm13 *w = open();
        answerAll(w);
        {
            test::FullDisk full;
            test::click(w->Button1);
        }
        QCOMPARE(messages.texts, QStringList{QStringLiteral("Неизвестная ошибка!\n"
                                                            "На диске нет места для файла такого размера.")});
        QVERIFY(w->isVisible());
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList());
        QCOMPARE(QDir(home.documents()).entryList(QDir::Files), QStringList());

        clock.advance(120);
        test::click(w->Button1);
        const QString path = QDir(dir.path()).filePath(QStringLiteral("А_Б_1.txt"));
        QCOMPARE(messages.last(), savedIn(path));
        const QStringList lines = test::resultsFileLines(path);
        QCOMPARE(lines.value(62), QStringLiteral("11:02:00"));
        QCOMPARE(lines.value(63), QStringLiteral("1:02:00"));
    }

    // A working directory that cannot take files: one that no longer exists
    // refuses them even to an administrator, as a read-only share would; so
    // does a Documents folder that is /proc.
    void aWorkingDirectoryThatRefusesFilesSavesIntoDocuments_data()
    {
        QTest::addColumn<QString>("documents");
        QTest::newRow("Documents") << "folder";
        QTest::newRow("home folder without Documents") << "none";
        QTest::newRow("home folder, Documents refusing files") << "refusing";
    }

    void aWorkingDirectoryThatRefusesFilesSavesIntoDocuments()
    {
        SKIP_WITHOUT_REMOVABLE_WORKING_DIRECTORY();
        QFETCH(QString, documents);
        test::WorkingDirectory dir;
        test::HomeFolder home(documents == u"folder");
        if (documents == u"refusing")
            QVERIFY(QFile::link(QStringLiteral("/proc"), home.documents()));
        QVERIFY(QDir().rmdir(dir.path()));
        test::FixedClock clock(start.addSecs(3600));
        test::MessageLog messages;
        TForm13 *w = open();
        answerAll(w);
        test::click(w->Button1);
        const QString path =
            QDir(documents == u"folder" ? home.documents() : home.path()).filePath(QStringLiteral("А_Б_1.txt"));
        QCOMPARE(messages.texts, QStringList{savedIn(path)});
        QCOMPARE(test::resultsFileLines(path).size(), 69);
        QVERIFY(!w->isVisible());
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
        test::WorkingDirectory dir;
        test::HomeFolder home(false);
        QVERIFY(QDir().rmdir(dir.path()) && QDir().rmdir(home.path()));
        test::FixedClock clock(start.addSecs(3600));
        test::MessageLog messages;
        messages.answers = QStringList(chosen.size(), QStringLiteral("Выбрать папку…"));
        for (const QString &folder : chosen)
            messages.folders << (folder.isEmpty() ? QString() : QDir(elsewhere.path()).filePath(folder));
        TForm13 *w = open();
        answerAll(w);
        test::click(w->Button1);

        QStringList expected(std::max(1, savedAfterTries), QStringLiteral("Неизвестная ошибка!\nПапка не найдена."));
        const QString usb = QDir(elsewhere.path()).filePath(QStringLiteral("usb/А_Б_1.txt"));
        if (savedAfterTries)
            expected << savedIn(usb);
        QCOMPARE(messages.texts, expected);
        QCOMPARE(QFileInfo::exists(usb), savedAfterTries > 0);
        QCOMPARE(w->isVisible(), savedAfterTries == 0);
    }

    void aSecondSubjectOfTheSameNameTakesTheNextNumber()
    {
        test::WorkingDirectory dir;
        test::FixedClock clock(start.addSecs(3600));
        test::MessageLog messages;
        for (const char *earlier : {"А_Б_1.txt", "А_Б_2.txt"}) {
            QFile file(QString::fromUtf8(earlier));
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("an earlier subject's results");
        }
        TForm13 *w = open();
        answerAll(w);
        test::click(w->Button1);
        QCOMPARE(messages.texts, QStringList{savedIn(QDir(dir.path()).filePath(QStringLiteral("А_Б_3.txt")))});
        QCOMPARE(test::resultsFileLines(QStringLiteral("А_Б_3.txt")).size(), 69);
        for (const char *earlier : {"А_Б_1.txt", "А_Б_2.txt"}) {
            QFile file(QString::fromUtf8(earlier));
            QVERIFY(file.open(QIODevice::ReadOnly));
            QCOMPARE(file.readAll(), QByteArray("an earlier subject's results"));
        }
    }

    // Finishing time in the regional long time format; the duration always
    // hours, minutes and seconds.
    void theDurationIsTheSameUnderAnySettings()
    {
        setRegional({QChar(u'.'), QStringLiteral("M/d/yyyy"), QStringLiteral("h:mm:ss AP")});
        test::WorkingDirectory dir;
        test::FixedClock clock(start.addSecs(85 * 60 + 30));
        test::MessageLog messages;
        TForm13 *w = open();
        answerAll(w);
        test::click(w->Button1);
        const QStringList lines = test::resultsFileLines(QDir(dir.path()).filePath(QStringLiteral("А_Б_1.txt")));
        QCOMPARE(lines.value(62), QStringLiteral("11:25:30 AM"));
        QCOMPARE(lines.value(63), QStringLiteral("1:25:30"));
    }

    // The window's close button asks first: "Продолжить" keeps the run,
    // "Прервать" ends the program without a file.
    void closingAWindowAsksAndEndsTheProgramWithoutAFile()
    {
        test::WorkingDirectory dir;
        test::FixedClock clock(start);
        test::MessageLog messages;
        messages.answers = QStringList{QStringLiteral("Продолжить"), QStringLiteral("Прервать")};
        TForm13 *w = open();
        answerAll(w);
        QVERIFY(!w->close());
        QVERIFY(w->isVisible());
        QTimer::singleShot(0, w, &QWidget::close);
        QTimer::singleShot(5000, qApp, [] { QCoreApplication::exit(1); }); // the program failed to end
        QCOMPARE(QCoreApplication::exec(), 0);
        QCOMPARE(messages.texts, QStringList(2, QStringLiteral("Прервать тестирование? Ответы не будут сохранены.")));
        QVERIFY(!w->isVisible());
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList());
    }

    void textsStandAsTheSubjectReadsThem()
    {
        TForm13 *w = open();
        QCOMPARE(w->windowTitle(), QStringLiteral("Завершение теста"));
        QCOMPARE(w->Edit105->text(), QString()); // set by the forward step, not here
        const QString thanks =
            QTextDocumentFragment::fromHtml(w->findChild<QLabel *>(QStringLiteral("Label6"))->text()).toPlainText();
        QVERIFY2(thanks.trimmed().endsWith(QStringLiteral(" с пометкой \"Психологическое исследование\".")),
                 qPrintable(thanks));
        QCOMPARE(w->findChild<QLabel *>(QStringLiteral("Label7"))->text(),
                 QStringLiteral("Внимание! Завершите программу нажатием на кнопку \"Закончить\". Не нажимайте на "
                                "красный крестик в правом верхнем углу, иначе результаты не сохранятся."));
        QCOMPARE(w->Button1->text(), QStringLiteral("Закончить"));
    }
};

QTEST_MAIN(Form13Test)
#include "tst_form13.moc"
