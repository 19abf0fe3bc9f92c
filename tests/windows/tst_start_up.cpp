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
    // window, saying which file, which line and what is wrong (in a message
    // box, which the test cannot press, and on the error output).
    void aBrokenSettingsFileStopsTheProgramBeforeTheFirstWindow()
    {
        QTemporaryDir dir;
        QFile settings(dir.filePath(QStringLiteral("study.ini")));
        QVERIFY(settings.open(QIODevice::WriteOnly));
        settings.write("contact_email = review.study@lab-test.example.org\nwelcome heading\n");
        settings.close();
        QProcess program;
        program.setWorkingDirectory(dir.path());
        program.start(QStringLiteral(COGBATTERY_PROGRAM),
                      {QStringLiteral("-platform"), QStringLiteral("offscreen"), QStringLiteral("--settings"),
                       settings.fileName()});
        QVERIFY(program.waitForStarted(10000));
        QByteArray said;
        QTRY_VERIFY_WITH_TIMEOUT((said += program.readAllStandardError()).contains('\n'), 10000);
        program.kill();
        program.waitForFinished(10000);
        const QString message = QString::fromLocal8Bit(said);
        QVERIFY2(message.startsWith(QStringLiteral("Файл настроек ") + settings.fileName()), qPrintable(message));
        QVERIFY2(message.contains(QStringLiteral("строка 2 («welcome heading»)")), qPrintable(message));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("study.ini")});
    }
};

QTEST_GUILESS_MAIN(StartUpTest)
#include "tst_start_up.moc"
