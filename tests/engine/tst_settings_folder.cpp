#include "engine/SettingsFolder.h"
#include "engine/StudySettings.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

// Which settings file a battery reads: the one named on its command line,
// else cogbattery.ini in the installed package's configuration folder, or
// the one an earlier package put beside the installed program, else in the
// program's own folder.
class SettingsFolderTest : public QObject
{
    Q_OBJECT

private slots:
    void settingsFileOfTheProgram_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("programDir");
        QTest::addColumn<QByteArray>("configured"); // the package's file; none when null
        QTest::addColumn<QByteArray>("beside");     // the file beside the installed program
        QTest::addColumn<QString>("settingsFile");  // none when both are refused
        QTest::addColumn<bool>("named");
        const QStringList none = {"cogbattery", "-platform", "offscreen"};
        const QByteArray a = "contact_email = a@study.example\n", b = "contact_email = b@study.example\n";
        const QString configured = "etc/cogbattery/cogbattery.ini", beside = "usr/bin/cogbattery.ini";
        QTest::newRow("named") << QStringList{"cogbattery", "--settings", "a.ini"} << "usr/bin" << a << b << "a.ini" << true;
        QTest::newRow("named with =") << QStringList{"cogbattery", "--settings=б.ini"} << "usr/bin" << a << b << "б.ini" << true;
        QTest::newRow("installed, no file") << none << "usr/bin" << QByteArray() << QByteArray() << configured << false;
        QTest::newRow("installed, with a trailing slash") << none << "usr/bin/" << a << QByteArray() << configured << false;
        QTest::newRow("installed, an earlier package's file") << none << "usr/bin" << QByteArray() << a << beside << false;
        QTest::newRow("installed, both alike") << none << "usr/bin" << a << a << configured << false;
        QTest::newRow("installed, both different") << none << "usr/bin" << a << b << "" << false;
        QTest::newRow("installed by hand elsewhere") << none << "usr/local/bin" << a << b << "usr/local/bin/cogbattery.ini" << false;
        QTest::newRow("a build tree") << none << "home/study/build" << QByteArray() << a << "home/study/build/cogbattery.ini" << false;
        QTest::newRow("a folder unpacked on Windows") << none << "C:/Users/Анна/Desktop/cogbattery" << QByteArray() << QByteArray()
                                                      << "C:/Users/Анна/Desktop/cogbattery/cogbattery.ini" << false;
    }

    void settingsFileOfTheProgram()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, programDir);
        QFETCH(QByteArray, configured);
        QFETCH(QByteArray, beside);
        QFETCH(QString, settingsFile);
        QFETCH(bool, named);
        QTemporaryDir temporary;
        // A QDir, unlike the temporary folder, keeps an absolute path (C:/… on Windows) as it is.
        const QDir root(temporary.path());
        const InstalledFolders installed{root.filePath("usr/bin"), root.filePath("etc/cogbattery")};
        for (const auto &[folder, bytes] : {std::pair(installed.settings, configured), std::pair(installed.programs, beside)}) {
            QFile file(QDir(folder).filePath("cogbattery.ini"));
            QVERIFY(bytes.isNull() || (QDir().mkpath(folder) && file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size()));
        }
        const SettingsFile file = settingsFileOf(arguments, unnamedSettingsFile(root.filePath(programDir), installed));
        QCOMPARE(file.named, named);
        if (!settingsFile.isEmpty()) {
            QCOMPARE(file.path, named ? settingsFile : root.filePath(settingsFile));
            return;
        }
        // Neither is read: one message names both.
        StudySettings study;
        const QString problem = loadStudySettings(file, study);
        for (const QString &folder : {installed.settings, installed.programs})
            QVERIFY2(problem.contains(QDir::toNativeSeparators(QDir(folder).filePath("cogbattery.ini"))), qPrintable(problem));
        QCOMPARE(study.contactEmail, QString());
    }
};

QTEST_GUILESS_MAIN(SettingsFolderTest)
#include "tst_settings_folder.moc"
