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
        const SettingsFile named = settingsFileOf({"cogbattery", "--settings", "a.ini"}, dir);
        QVERIFY(named.named && named.path == QStringLiteral("a.ini"));
        QCOMPARE(settingsFileOf({"cogbattery", "--settings=б.ini"}, dir).path, QStringLiteral("б.ini"));
        const SettingsFile beside = settingsFileOf({"cogbattery", "-platform", "offscreen"}, dir);
        QVERIFY(!beside.named && beside.path == QStringLiteral("/opt/battery/cogbattery.ini"));
    }

    void aMissingFileIsReportedOnlyWhenNamed()
    {
        test::WorkingDirectory dir;
        QCOMPARE(loadStudySettings({QStringLiteral("cogbattery.ini"), false}), QString());
        const QString problem = loadStudySettings({QStringLiteral("named.ini"), true});
        QVERIFY2(problem.contains(QDir(dir.path()).filePath(QStringLiteral("named.ini"))), qPrintable(problem));
        QCOMPARE(studySettings().welcomeHeading, builtIn.welcomeHeading);
    }

    void textsAreReadAsWritten()
    {
        test::WorkingDirectory dir;
        // Notepad's byte-order mark, a comment, an unknown key, an empty key,
        // a comma in the unquoted heading.
        QCOMPARE(loadStudySettings(write("\xEF\xBB\xBF; study of 2026\r\n"
                                         "contact_email =\r\n"
                                         "unknown_key = 1\n"
                                         "welcome_heading = Кафедра психологии, добро пожаловать!\n")),
                 QString());
        QCOMPARE(studySettings().welcomeHeading, QStringLiteral("Кафедра психологии, добро пожаловать!"));
        QCOMPARE(studySettings().contactEmail, builtIn.contactEmail);
    }

    void aBrokenFileIsReportedAndChangesNothing_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("reason");
        QTest::newRow("stray line") << QByteArray("contact_email = a@b.ru\nwelcome heading\n")
                                    << QStringLiteral("строке 2");
        QTest::newRow("open section") << QByteArray("[study\ncontact_email = a@b.ru\n") << QStringLiteral("строке 1");
        QTest::newRow("Windows-1251") << QByteArray("contact_email = a@b.ru\nwelcome_heading = \xCF\xF0\xE8\xE2\xE5\xF2\n")
                                      << QStringLiteral("UTF-8");
        QTest::newRow("a folder") << QByteArray() << QStringLiteral("не читается");
    }

    void aBrokenFileIsReportedAndChangesNothing()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, reason);
        test::WorkingDirectory dir;
        const SettingsFile file = bytes.isEmpty() && QDir().mkdir(QStringLiteral("study.ini"))
            ? SettingsFile{QStringLiteral("study.ini"), false}
            : write(bytes);
        const QString problem = loadStudySettings(file);
        QVERIFY2(problem.contains(reason) && problem.contains(QStringLiteral("study.ini")), qPrintable(problem));
        QCOMPARE(studySettings().contactEmail, builtIn.contactEmail);
    }

    void theWindowsShowTheStudysTexts()
    {
        test::WorkingDirectory dir;
        test::resetRun();
        QCOMPARE(loadStudySettings(write("contact_email = results@study.example\nwelcome_heading = Здравствуйте!\n")),
                 QString());
        const auto *first = new TForm1;
        QCOMPARE(first->findChild<QLabel *>(QStringLiteral("Label1"))->text(), QStringLiteral("Здравствуйте!"));
        const auto *last = new TForm13;
        const QString thanks = last->findChild<QLabel *>(QStringLiteral("Label6"))->text();
        QVERIFY2(thanks.contains(QStringLiteral(" results@study.example ")), qPrintable(thanks));
        test::resetRun();
    }
};

QTEST_MAIN(StudySettingsTest)
#include "tst_study_settings.moc"
