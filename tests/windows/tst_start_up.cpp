#include "engine/Version.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

// The program itself, started as a process.
class StartUpTest : public QObject
{
    Q_OBJECT

private slots:
    // The version is answered without a display: no window system is set up.
    void versionIsPrintedWithoutAWindow()
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const QString &name : {QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("DISPLAY"),
                                    QStringLiteral("WAYLAND_DISPLAY")})
            environment.remove(name);
        QProcess program;
        program.setProcessEnvironment(environment);
        program.start(QStringLiteral(COGBATTERY_PROGRAM), {QStringLiteral("--version")});
        QVERIFY(program.waitForFinished(10000));
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
        QCOMPARE(program.exitCode(), 0);
        QCOMPARE(program.readAllStandardOutput(), QByteArray("cogbattery ") + cogbatteryVersion + '\n');
        QCOMPARE(program.readAllStandardError(), QByteArray());
    }

    // A settings file that cannot be used stops the program before the first
    // window, naming the file, the line and what is wrong (in a message box,
    // which the test cannot press, and on the error output); nothing written.
    void aBrokenSettingsFileStopsTheProgramBeforeTheFirstWindow()
    {
        QTemporaryDir dir;
        const QString settings = dir.filePath(QStringLiteral("study.ini"));
        QFile file(settings);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write("contact_email = a@b.ru\nwelcome heading\n") > 0);
        file.close();
        QProcess program;
        program.setWorkingDirectory(dir.path());
        program.start(QStringLiteral(COGBATTERY_PROGRAM), {"-platform", "offscreen", "--settings", settings});
        QByteArray said;
        QTRY_VERIFY_WITH_TIMEOUT((said += program.readAllStandardError()).contains('\n'), 10000);
        program.kill();
        program.waitForFinished(10000);
        QVERIFY2(QString::fromLocal8Bit(said).startsWith(QStringLiteral("Файл настроек ") + settings
                                                         + QStringLiteral(" не по формату INI: строка 2")),
                 said.constData());
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("study.ini")});
    }
};

QTEST_GUILESS_MAIN(StartUpTest)
#include "tst_start_up.moc"
