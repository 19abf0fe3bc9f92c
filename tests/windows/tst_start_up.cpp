#include "engine/Version.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QStringDecoder>
#include <QTest>

// The program itself, started as a process.
class StartUpTest : public QObject
{
    Q_OBJECT

    // A line of text on standard output, as the system's C library ends it.
#ifdef Q_OS_WIN
    static constexpr char lineEnd[] = "\r\n";
#else
    static constexpr char lineEnd[] = "\n";
#endif

    struct Answer
    {
        int exitCode = -1;
        QByteArray out;
        QByteArray err;
    };

    // The program run with the given arguments and no window system at all:
    // it would abort if it tried to set one up.
    static Answer runWithoutDisplay(const QStringList &arguments)
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const QString &name : {QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("DISPLAY"),
                                    QStringLiteral("WAYLAND_DISPLAY")})
            environment.remove(name);
        QProcess program;
        program.setProcessEnvironment(environment);
        program.start(QStringLiteral(COGBATTERY_PROGRAM), arguments);
        if (!program.waitForFinished(10000) || program.exitStatus() != QProcess::NormalExit)
            return {};
        return {program.exitCode(), program.readAllStandardOutput(), program.readAllStandardError()};
    }

private slots:
    void versionIsPrintedWithoutAWindow()
    {
        const Answer answer = runWithoutDisplay({QStringLiteral("--version")});
        QCOMPARE(answer.exitCode, 0);
        QCOMPARE(answer.out, QByteArray("cogbattery ") + cogbatteryVersion + lineEnd);
        QCOMPARE(answer.err, QByteArray());
    }

    // A Russian usage text that names every option the program reads.
    void usageIsPrintedWithoutAWindow_data()
    {
        QTest::addColumn<QString>("option");
        QTest::newRow("--help") << QStringLiteral("--help");
        QTest::newRow("-h") << QStringLiteral("-h");
    }
    void usageIsPrintedWithoutAWindow()
    {
        QFETCH(QString, option);
        const Answer answer = runWithoutDisplay({option});
        QCOMPARE(answer.exitCode, 0);
        QCOMPARE(answer.err, QByteArray());
        QStringDecoder utf8(QStringConverter::Utf8);
        const QString text = utf8.decode(answer.out);
        QVERIFY(!utf8.hasError());
        QVERIFY2(text.startsWith(QStringLiteral("Использование: cogbattery")), qPrintable(text));
        for (const QString &named : {QStringLiteral("--settings"), QStringLiteral("--version"), QStringLiteral("--help")})
            QVERIFY2(text.contains(named), qPrintable(named));
    }

    // A settings file that cannot be used stops the program before the first
    // window, naming the file, the line and what is wrong (in a message box,
    // which the test cannot press, and on the error output); nothing written.
    void aBrokenSettingsFileStopsTheProgramBeforeTheFirstWindow()
    {
#ifdef Q_OS_WIN
        QSKIP("the message reaches the error output in the system's code page, which under Wine holds no Cyrillic");
#endif
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
        QVERIFY2(QString::fromLocal8Bit(said).startsWith(QStringLiteral("Файл настроек ") + QDir::toNativeSeparators(settings)
                                                         + QStringLiteral(" не по формату INI: строка 2")),
                 said.constData());
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("study.ini")});
    }
};

QTEST_GUILESS_MAIN(StartUpTest)
#include "tst_start_up.moc"
