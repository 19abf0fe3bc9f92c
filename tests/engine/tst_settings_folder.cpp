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
        QTest::addColumn<QString>("present"); // settings files in the package's folders
        QTest::addColumn<QString>("settingsFile");
        QTest::addColumn<bool>("named");
        const QStringList none = {"cogbattery", "-platform", "offscreen"};
        const QString configured = "etc/cogbattery/cogbattery.ini";
        const QString beside = "usr/bin/cogbattery.ini";
        QTest::newRow("named") << QStringList{"cogbattery", "--settings", "a.ini"} << "usr/bin" << "different" << "a.ini" << true;
        QTest::newRow("named with =") << QStringList{"cogbattery", "--settings=б.ini"} << "usr/bin" << "" << "б.ini" << true;
        QTest::newRow("installed, no file") << none << "usr/bin" << "" << configured << false;
        QTest::newRow("installed, with a trailing slash") << none << "usr/bin/" << "configured" << configured << false;
        QTest::newRow("installed, the package's file") << none << "usr/bin" << "configured" << configured << false;
        QTest::newRow("installed, an earlier package's file") << none << "usr/bin" << "beside" << beside << false;
        QTest::newRow("installed, both alike") << none << "usr/bin" << "same" << configured << false;
        QTest::newRow("installed, both different") << none << "usr/bin" << "different" << "" << false;
        QTest::newRow("installed by hand elsewhere") << none << "usr/local/bin" << "different"
                                                     << "usr/local/bin/cogbattery.ini" << false;
        QTest::newRow("a build tree") << none << "home/study/cogbattery/build" << "beside"
                                      << "home/study/cogbattery/build/cogbattery.ini" << false;
        QTest::newRow("a folder unpacked on Windows") << none << "C:/Users/Анна/Desktop/cogbattery" << ""
                                                      << "C:/Users/Анна/Desktop/cogbattery/cogbattery.ini" << false;
    }

    void settingsFileOfTheProgram()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, programDir);
        QFETCH(QString, present);
        QFETCH(QString, settingsFile);
        QFETCH(bool, named);
        QTemporaryDir root;
        const InstalledFolders installed{root.filePath("usr/bin"), root.filePath("etc/cogbattery")};
        const auto put = [](const QString &folder, const QByteArray &bytes) {
            QFile file(QDir(folder).filePath("cogbattery.ini"));
            return QDir().mkpath(folder) && file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
        };
        if (present == u"configured" || present == u"same" || present == u"different")
            QVERIFY(put(installed.settings, "contact_email = a@study.example\n"));
        if (present == u"beside" || present == u"same")
            QVERIFY(put(installed.programs, "contact_email = a@study.example\n"));
        if (present == u"different")
            QVERIFY(put(installed.programs, "contact_email = b@study.example\n"));

        const SettingsFile file = settingsFileOf(arguments, unnamedSettingsFile(root.filePath(programDir), installed));
        QCOMPARE(file.named, named);
        if (named) {
            QCOMPARE(file.path, settingsFile);
        } else if (!settingsFile.isEmpty()) {
            QCOMPARE(file.path, root.filePath(settingsFile));
        } else {
            // Neither is read: one message names both.
            const QString problem = loadStudySettings(file);
            for (const QString &folder : {installed.settings, installed.programs})
                QVERIFY2(problem.contains(QDir::toNativeSeparators(QDir(folder).filePath("cogbattery.ini"))), qPrintable(problem));
            QCOMPARE(studySettings().contactEmail, QString());
        }
    }
};

QTEST_GUILESS_MAIN(SettingsFolderTest)
#include "tst_settings_folder.moc"
