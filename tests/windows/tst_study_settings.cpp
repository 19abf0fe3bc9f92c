#include "engine/StudySettings.h"
#include "forms/Unit1.h"
#include "forms/Unit13.h"
#include "support/WindowSupport.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QTest>

// The study's settings file: found, read, refused whole when broken, and
// shown on the first and the completion window.
class StudySettingsTest : public QObject
{
    Q_OBJECT

    const StudySettings builtIn;

    static SettingsFile write(const QByteArray &bytes)
    {
        QFile file(QStringLiteral("study.ini"));
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            qFatal("cannot write study.ini");
        return {file.fileName(), true};
    }

private slots:
    void init() { studySettings() = StudySettings{}; }

    void theFileIsNamedOrBesideTheProgram()
    {
        const QString dir = QStringLiteral("/opt/battery");
        const QString program = QStringLiteral("cogbattery");
        SettingsFile file = settingsFileOf({program, QStringLiteral("--settings"), QStringLiteral("a.ini")}, dir);
        QCOMPARE(file.path, QStringLiteral("a.ini"));
        QVERIFY(file.named);
        file = settingsFileOf({program, QStringLiteral("--settings=Исследование.ini")}, dir);
        QCOMPARE(file.path, QStringLiteral("Исследование.ini"));
        QVERIFY(file.named);
        file = settingsFileOf({program, QStringLiteral("-platform"), QStringLiteral("offscreen")}, dir);
        QCOMPARE(file.path, QStringLiteral("/opt/battery/cogbattery.ini"));
        QVERIFY(!file.named);
    }

    void aMissingFileKeepsTheBuiltInTexts()
    {
        test::WorkingDirectory dir;
        QCOMPARE(loadStudySettings({QStringLiteral("cogbattery.ini"), false}), QString());
        const QString problem = loadStudySettings({QStringLiteral("named.ini"), true});
        QVERIFY2(problem.contains(QDir(dir.path()).filePath(QStringLiteral("named.ini"))), qPrintable(problem));
        QCOMPARE(studySettings().contactEmail, builtIn.contactEmail);
        QCOMPARE(studySettings().welcomeHeading, builtIn.welcomeHeading);
    }

    void textsAreReadAsWritten()
    {
        test::WorkingDirectory dir;
        // A byte-order mark as Notepad writes it, a comment, an unknown key, a
        // comma in the unquoted heading.
        const SettingsFile file = write("\xEF\xBB\xBF; study of 2026\n"
                                        "contact_email = results@study.example\r\n"
                                        "unknown_key = 1\n"
                                        "welcome_heading = Кафедра психологии, добро пожаловать!\n");
        QCOMPARE(loadStudySettings(file), QString());
        QCOMPARE(studySettings().contactEmail, QStringLiteral("results@study.example"));
        QCOMPARE(studySettings().welcomeHeading, QStringLiteral("Кафедра психологии, добро пожаловать!"));
    }

    void aMissingOrEmptyKeyKeepsItsText()
    {
        test::WorkingDirectory dir;
        QCOMPARE(loadStudySettings(write("welcome_heading = \"Здравствуйте!\"\ncontact_email =\n")), QString());
        QCOMPARE(studySettings().welcomeHeading, QStringLiteral("Здравствуйте!"));
        QCOMPARE(studySettings().contactEmail, builtIn.contactEmail);
    }

    void aBrokenFileIsReportedAndChangesNothing_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("reason");
        QTest::newRow("stray line") << QByteArray("contact_email = a@b.ru\nwelcome heading\n")
                                    << QStringLiteral("строке 2");
        QTest::newRow("open section") << QByteArray("[study\ncontact_email = a@b.ru\n") << QStringLiteral("строке 1");
        QTest::newRow("no key") << QByteArray("= a@b.ru\n") << QStringLiteral("строке 1");
        QTest::newRow("Windows-1251") << QByteArray("contact_email = a@b.ru\nwelcome_heading = \xCF\xF0\xE8\xE2\xE5\xF2\n")
                                      << QStringLiteral("UTF-8");
    }

    void aBrokenFileIsReportedAndChangesNothing()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, reason);
        test::WorkingDirectory dir;
        const QString problem = loadStudySettings(write(bytes));
        QVERIFY2(problem.contains(reason), qPrintable(problem));
        QVERIFY2(problem.contains(QStringLiteral("study.ini")), qPrintable(problem));
        QCOMPARE(studySettings().contactEmail, builtIn.contactEmail);
    }

    void aFileThatCannotBeReadIsReported()
    {
        test::WorkingDirectory dir;
        QVERIFY(QDir().mkdir(QStringLiteral("cogbattery.ini")));
        const QString problem = loadStudySettings({QStringLiteral("cogbattery.ini"), false});
        QVERIFY2(problem.contains(QStringLiteral("не читается")), qPrintable(problem));
    }

    void theWindowsShowTheStudysTexts()
    {
        test::WorkingDirectory dir;
        test::resetRun();
        QCOMPARE(loadStudySettings(write("contact_email = results@study.example\n"
                                         "welcome_heading = Здравствуйте!\n")),
                 QString());
        const auto *first = new TForm1;
        QCOMPARE(first->findChild<QLabel *>(QStringLiteral("Label1"))->text(), QStringLiteral("Здравствуйте!"));
        const auto *last = new TForm13;
        const QString thanks = last->findChild<QLabel *>(QStringLiteral("Label6"))->text();
        QVERIFY2(thanks.contains(QStringLiteral(" results@study.example ")), qPrintable(thanks));
        QVERIFY(!thanks.contains(builtIn.contactEmail));
        test::resetRun();
    }
};

QTEST_MAIN(StudySettingsTest)
#include "tst_study_settings.moc"
