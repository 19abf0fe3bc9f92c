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

private slots:
    // Answered with no window system at all (the program would abort if it
    // tried to set one up): the version, or a Russian usage text that names
    // every option the program reads.
    void answersWithoutAWindow_data()
    {
        QTest::addColumn<QString>("option");
        QTest::addColumn<QString>("beginning");
        QTest::newRow("--version") << "--version" << QString::fromLatin1(QByteArray("cogbattery ") + cogbatteryVersion + lineEnd);
        QTest::newRow("--help") << "--help" << "Использование: cogbattery";
        QTest::newRow("-h") << "-h" << "Использование: cogbattery";
    }

    void answersWithoutAWindow()
    {
        QFETCH(QString, option);
        QFETCH(QString, beginning);
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const QString &name : {QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("DISPLAY"),
                                    QStringLiteral("WAYLAND_DISPLAY")})
            environment.remove(name);
        QProcess program;
        program.setProcessEnvironment(environment);
        program.start(QStringLiteral(COGBATTERY_PROGRAM), {option});
        QVERIFY(program.waitForFinished(10000));
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
        QCOMPARE(program.exitCode(), 0);
        QCOMPARE(program.readAllStandardError(), QByteArray());
        QStringDecoder utf8(QStringConverter::Utf8);
        const QString text = utf8.decode(program.readAllStandardOutput());
        QVERIFY(!utf8.hasError());
        QVERIFY2(text.startsWith(beginning), qPrintable(text));
        if (option == u"--version")
            QCOMPARE(text, beginning);
        else
            for (const QString &named : {QStringLiteral("--settings"), QStringLiteral("--version"), QStringLiteral("--help")})
                QVERIFY2(text.contains(named), qPrintable(named));
    }

    // A settings file that cannot be used stops the program before the first
    // window, naming the file, the line and what is wrong (in a message box,
    // which the test cannot press, and on the error output); nothing written.
    // Without XDG_RUNTIME_DIR, Qt warns on the error output first.
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
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove(QStringLiteral("XDG_RUNTIME_DIR"));
        QProcess program;
        program.setProcessEnvironment(environment);
        program.setWorkingDirectory(dir.path());
        program.start(QStringLiteral(COGBATTERY_PROGRAM), {"-platform", "offscreen", "--settings", settings});
        const QString expected = QStringLiteral("Файл настроек ") + QDir::toNativeSeparators(settings)
            + QStringLiteral(" не по формату INI: строка 2");
        QByteArray said;
        QTRY_VERIFY_WITH_TIMEOUT(QString::fromLocal8Bit(said += program.readAllStandardError()).contains(expected)
                                     || program.state() == QProcess::NotRunning,
                                 10000);
        program.kill();
        program.waitForFinished(10000);
        said += program.readAllStandardError();
        QVERIFY2(QString::fromLocal8Bit(said).contains(expected), said.constData());
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("study.ini")});
    }
};

QTEST_GUILESS_MAIN(StartUpTest)
#include "tst_start_up.moc"
