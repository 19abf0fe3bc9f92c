#include "engine/SettingsFolder.h"

#include <QTest>

// Which folder's cogbattery.ini a battery reads when none is named: the
// installed package's configuration folder, else the program's own folder.
class SettingsFolderTest : public QObject
{
    Q_OBJECT

private slots:
    void folderOfTheProgram_data()
    {
        QTest::addColumn<QString>("programDir");
        QTest::addColumn<QString>("settingsFolder");
        QTest::newRow("installed by the package") << "/usr/bin" << "/etc/cogbattery";
        QTest::newRow("installed, with a trailing slash") << "/usr/bin/" << "/etc/cogbattery";
        QTest::newRow("installed by hand elsewhere") << "/usr/local/bin" << "/usr/local/bin";
        QTest::newRow("a build tree") << "/home/study/cogbattery/build" << "/home/study/cogbattery/build";
        QTest::newRow("a folder unpacked on Windows") << "C:/Users/Анна/Desktop/cogbattery"
                                                      << "C:/Users/Анна/Desktop/cogbattery";
    }
    void folderOfTheProgram()
    {
        QFETCH(QString, programDir);
        QFETCH(QString, settingsFolder);
        QCOMPARE(settingsFolderOf(programDir), settingsFolder);
    }
};

QTEST_GUILESS_MAIN(SettingsFolderTest)
#include "tst_settings_folder.moc"
