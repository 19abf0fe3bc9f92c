#include "engine/SettingsFolder.h"
#include "engine/StudySettings.h"

#include <QTest>

// Which settings file a battery reads: the one named on its command line,
// else cogbattery.ini in the installed package's configuration folder, else
// in the program's own folder.
class SettingsFolderTest : public QObject
{
    Q_OBJECT

private slots:
    void settingsFileOfTheProgram_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("programDir");
        QTest::addColumn<QString>("settingsFile");
        QTest::addColumn<bool>("named");
        const QStringList none = {"cogbattery", "-platform", "offscreen"};
        QTest::newRow("named") << QStringList{"cogbattery", "--settings", "a.ini"} << "/usr/bin" << "a.ini" << true;
        QTest::newRow("named with =") << QStringList{"cogbattery", "--settings=б.ini"} << "/usr/bin" << "б.ini" << true;
        QTest::newRow("installed by the package") << none << "/usr/bin" << "/etc/cogbattery/cogbattery.ini" << false;
        QTest::newRow("installed, with a trailing slash") << none << "/usr/bin/" << "/etc/cogbattery/cogbattery.ini" << false;
        QTest::newRow("installed by hand elsewhere") << none << "/usr/local/bin" << "/usr/local/bin/cogbattery.ini" << false;
        QTest::newRow("a build tree") << none << "/home/study/cogbattery/build"
                                      << "/home/study/cogbattery/build/cogbattery.ini" << false;
        QTest::newRow("a folder unpacked on Windows") << none << "C:/Users/Анна/Desktop/cogbattery"
                                                      << "C:/Users/Анна/Desktop/cogbattery/cogbattery.ini" << false;
    }

    void settingsFileOfTheProgram()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, programDir);
        QFETCH(QString, settingsFile);
        QFETCH(bool, named);
        const SettingsFile file = settingsFileOf(arguments, settingsFolderOf(programDir));
        QCOMPARE(file.path, settingsFile);
        QCOMPARE(file.named, named);
    }
};

QTEST_GUILESS_MAIN(SettingsFolderTest)
#include "tst_settings_folder.moc"
