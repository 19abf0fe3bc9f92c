#include "engine/Version.h"

#include <QProcess>
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
};

QTEST_GUILESS_MAIN(StartUpTest)
#include "tst_start_up.moc"
