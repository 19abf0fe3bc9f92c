#include "engine/DateTime.h"
#include "engine/ResultsFile.h"
#include "engine/StudySettings.h"
#include "forms/Unit13.h"
#include "support/WindowSupport.h"
#include "windows/RadioGroup.h"
#include "windows/ResultsUpload.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QSettings>
#include <QSignalSpy>
#include <QSslCertificate>
#include <QTest>
#include <QTimer>
#include <optional>

using namespace std::chrono_literals;

// "Закончить" with an upload address: the files go to a real WebDAV server on
// this computer (tests/servers/webdav-server.sh, started by the test command,
// which names its folder in COGBATTERY_UPLOAD_SERVER). Its shares are folders
// of that folder, which the test reads directly.
class UploadTest : public QObject
{
    Q_OBJECT

    QString server; // the server's folder
    QHash<QString, QString> given; // {https}, {drop}, … in the table's addresses
    std::optional<test::WorkingDirectory> dir;
    std::optional<test::HomeFolder> home;
    std::optional<test::FixedClock> clock;
    std::optional<test::MessageLog> messages;
    TForm13 *w = nullptr;

    QString filled(QString text) const
    {
        for (auto it = given.cbegin(); it != given.cend(); ++it)
            text.replace(it.key(), it.value());
        return text;
    }

    QString share(const QString &name) const { return QDir(server).filePath(name); }

    static QByteArray bytesOf(const QString &path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    // Watches for the progress bar: notes what it says and, if asked,
    // presses "Отменить" as soon as it shows.
    bool cancelOnSight = false;
    QString barLabel;

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        auto *progress = qobject_cast<QProgressDialog *>(watched);
        if (progress && event->type() == QEvent::Show) {
            barLabel = progress->labelText();
            if (std::exchange(cancelOnSight, false))
                QTimer::singleShot(100, progress, [progress] { test::click(progress->findChild<QPushButton *>()); });
        }
        return false;
    }

private slots:
    void initTestCase()
    {
        server = qEnvironmentVariable("COGBATTERY_UPLOAD_SERVER");
        QVERIFY2(QFile::exists(share(QStringLiteral("server.ini"))),
                 "run through ctest, which starts tests/servers/webdav-server.sh and names its folder in "
                 "COGBATTERY_UPLOAD_SERVER");
        const QSettings ini(share(QStringLiteral("server.ini")), QSettings::IniFormat);
        for (const char *key : {"https_port", "other_name_port", "stalling_port", "slow_port", "closed_port", "drop_token",
                                "locked_token", "locked_password"})
            given[u'{' + QString::fromLatin1(key) + u'}'] = ini.value(QStringLiteral("server/") + QLatin1String(key)).toString();
        const QList<QSslCertificate> authority = QSslCertificate::fromPath(share(QStringLiteral("tls/ca.pem")));
        QCOMPARE(authority.size(), 1);
        ResultsUpload::trustAuthority(authority.first());
        ResultsUpload::setStallLimit(1500ms);
        qApp->installEventFilter(this);
    }

    void init()
    {
        test::resetRun();
        test::useRussianSettings();
        for (const QString &name : {QStringLiteral("drop"), QStringLiteral("locked")})
            for (const QString &file : QDir(share(name)).entryList(QDir::Files))
                QVERIFY(QFile::remove(QDir(share(name)).filePath(file)));
        dir.emplace();
        home.emplace();
        clock.emplace(QDateTime(QDate(2026, 3, 9), QTime(11, 0)));
        messages.emplace();
        studySettings() = StudySettings{};
        studySettings().contactEmail = QStringLiteral("results@study.example");
        run().InfoSurname = QStringLiteral("А");
        run().InfoName = QStringLiteral("Б");
        run().InfoStartMoment = toDateTime(QDateTime(QDate(2026, 3, 9), QTime(10, 0)));
        w = new TForm13;
        currentInstance<TForm13> = w;
        w->present();
        test::clickItem(w->RadioGroup1, 0);
        test::clickItem(w->RadioGroup2, 1);
        test::clickItem(w->RadioGroup3, 2);
        test::retype(w->Edit1, QStringLiteral("врач"));
        test::retype(w->Edit2, QStringLiteral("a@b.ru"));
    }

    void cleanup()
    {
        test::resetRun();
        studySettings() = StudySettings{};
        messages.reset();
        clock.reset();
        home.reset();
        dir.reset();
    }

    // Whatever the server does, the local file is complete and every message
    // names it; the subject learns whether the files arrived, or why not and
    // where to e-mail them; the run ends once the subject has finished. What
    // arrives is byte for byte what was saved, and nothing else; nothing on
    // the server is replaced.
    void finishSavesThenSends_data()
    {
        QTest::addColumn<QString>("url");
        QTest::addColumn<QString>("password");
        QTest::addColumn<bool>("itemData");
        QTest::addColumn<QStringList>("taken");   // on the server before, in the drop share
        QTest::addColumn<bool>("stall");          // the stalling port holds its next connection
        QTest::addColumn<bool>("cancel");         // "Отменить" as soon as the bar shows
        QTest::addColumn<QStringList>("answers"); // to the questions after a failure
        QTest::addColumn<QStringList>("said");    // of each message in turn; "sent" for the arrival
        QTest::addColumn<QString>("arrived");     // share/name of the results on the server

        const QString link = QStringLiteral("https://127.0.0.1:{https_port}/drop/s/{drop_token}");
        const QString stalling = QStringLiteral("https://127.0.0.1:{stalling_port}/drop/s/{drop_token}");
        const QStringList none;
        QTest::newRow("share link") << link << "" << false << none << false << false << none
                                    << QStringList{"sent"} << "drop/А_Б_1.txt";
        QTest::newRow("share link with a password")
            << "https://127.0.0.1:{https_port}/locked/index.php/s/{locked_token}" << "{locked_password}" << false
            << none << false << false << none << QStringList{"sent"} << "locked/А_Б_1.txt";
        QTest::newRow("WebDAV folder, results and item file")
            << "https://{drop_token}@127.0.0.1:{https_port}/drop/public.php/webdav" << "" << true << none << false
            << false << none << QStringList{"sent"} << "drop/А_Б_1.txt";
        QTest::newRow("name taken on the server") << link << "" << false << QStringList{"А_Б_1.txt"} << false << false
                                                  << none << QStringList{"sent"} << "drop/А_Б_2.txt";
        QTest::newRow("wrong token") << "https://127.0.0.1:{https_port}/drop/s/wrong" << "" << false << none << false
                                     << false << none << QStringList{"отказался принять"} << "";
        QTest::newRow("wrong password")
            << "https://127.0.0.1:{https_port}/locked/s/{locked_token}" << "wrong" << false << none << false << false
            << none << QStringList{"отказался принять"} << "";
        QTest::newRow("server full") << "https://127.0.0.1:{https_port}/full/s/{drop_token}" << "" << false << none
                                     << false << false << none << QStringList{"нет места"} << "";
        QTest::newRow("server down") << "https://127.0.0.1:{closed_port}/drop/s/{drop_token}" << "" << false << none
                                     << false << false << none << QStringList{"нет соединения"} << "";
        QTest::newRow("certificate for another name")
            << "https://127.0.0.1:{other_name_port}/drop/s/{drop_token}" << "" << false << none << false << false
            << none << QStringList{"не подтвердил свою подлинность"} << "";
        QTest::newRow("redirect to plain http") << "https://127.0.0.1:{https_port}/moved/s/{drop_token}" << "" << false
                                                << none << false << false << none
                                                << QStringList{"отказался принять"} << "";
        QTest::newRow("silent server, then again") << stalling << "" << false << none << true << false
                                                   << QStringList{"Повторить"}
                                                   << QStringList{"время ожидания истекло", "sent"} << "drop/А_Б_1.txt";
        QTest::newRow("cancelled") << stalling << "" << false << none << true << true << none
                                   << QStringList{"отправка отменена"} << "";
    }

    void finishSavesThenSends()
    {
        QFETCH(QString, url);
        QFETCH(QString, password);
        QFETCH(bool, itemData);
        QFETCH(QStringList, taken);
        QFETCH(bool, stall);
        QFETCH(bool, cancel);
        QFETCH(QStringList, answers);
        QFETCH(QStringList, said);
        QFETCH(QString, arrived);
        studySettings().uploadUrl = filled(url);
        studySettings().uploadPassword = filled(password);
        studySettings().itemData = itemData;
        const QByteArray earlier("an earlier subject's file");
        for (const QString &name : taken) {
            QFile file(QDir(share(QStringLiteral("drop"))).filePath(name));
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(earlier) > 0);
        }
        if (stall) {
            QFile flag(share(QStringLiteral("stall")));
            QVERIFY(flag.open(QIODevice::WriteOnly));
        }
        messages->answers = answers;
        cancelOnSight = cancel;
        barLabel.clear();
        test::click(w->Button1);

        const QString local = QDir(dir->path()).filePath(QStringLiteral("А_Б_1.txt"));
        QCOMPARE(test::resultsFileLines(local).size(), 69);
        QCOMPARE(messages->texts.size(), said.size());
        for (qsizetype i = 0; i < said.size(); ++i) {
            const QString &text = messages->texts[i];
            QVERIFY2(text.contains(QDir::toNativeSeparators(local)), qPrintable(text));
            if (said[i] == u"sent") {
                QVERIFY2(text.endsWith(QStringLiteral(" и отправлены организаторам исследования.")), qPrintable(text));
            } else {
                QVERIFY2(text.contains(said[i]) && text.contains(QStringLiteral("results@study.example")),
                         qPrintable(text));
            }
            for (const char *secret : {"{drop_token}", "{locked_token}", "{locked_password}"})
                QVERIFY2(!text.contains(given[QLatin1String(secret)]), qPrintable(text));
        }
        QCOMPARE(barLabel, QStringLiteral("Отправка результатов организаторам…"));
        QVERIFY(!w->isVisible());

        QStringList onServer; // every file in the shares, as share/name
        for (const QString &name : {QStringLiteral("drop"), QStringLiteral("locked"), QStringLiteral("full")})
            for (const QString &file : QDir(share(name)).entryList(QDir::Files))
                onServer << name + u'/' + file;
        QStringList expected;
        for (const QString &name : taken)
            expected << QStringLiteral("drop/") + name;
        if (!arrived.isEmpty()) {
            expected << arrived;
            QCOMPARE(bytesOf(share(arrived)), bytesOf(local));
            if (itemData) {
                const QString items = itemFilePath(arrived);
                expected << items;
                QCOMPARE(bytesOf(share(items)), bytesOf(itemFilePath(local)));
            }
        }
        onServer.sort();
        expected.sort();
        QCOMPARE(onServer, expected);
        for (const QString &name : taken)
            QCOMPARE(bytesOf(share(QStringLiteral("drop/") + name)), earlier);
    }

    // The window asks for no e-mail when the files go to the server.
    void theWindowAsksForNoEmail()
    {
        test::resetRun();
        studySettings().uploadUrl = filled(QStringLiteral("https://127.0.0.1:{https_port}/drop/s/{drop_token}"));
        const QString text = (new TForm13)->findChild<QLabel *>(QStringLiteral("Label6"))->text();
        QVERIFY2(text.contains(QStringLiteral("отправлены организаторам")) && !text.contains(QStringLiteral("адрес"))
                     && !text.contains(u'@'),
                 qPrintable(text));
    }

    // A large file on a long way goes in steps that the bar shows, arrives
    // whole, and the bar ends full.
    void aLargeFileShowsItsProgress()
    {
        const QString path = QDir(dir->path()).filePath(QStringLiteral("large.items.tsv"));
        QByteArray content(10 * 1024 * 1024, '\0');
        for (qsizetype i = 0; i < content.size(); ++i)
            content[i] = char('a' + (i * 7919) % 26);
        {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(content) == content.size());
        }
        ResultsUpload upload(uploadAddress(filled(QStringLiteral("https://127.0.0.1:{slow_port}/drop/s/{drop_token}")), {}),
                             {path}, [](int number) { return QStringList{QStringLiteral("large_%1.tsv").arg(number)}; });
        QSignalSpy progress(&upload, &ResultsUpload::progressed);
        QSignalSpy finished(&upload, &ResultsUpload::finished);
        // The system takes megabytes at once and the relay drains them at
        // its pace: seconds without progress that the limit must allow.
        ResultsUpload::setStallLimit(10s);
        upload.start();
        const bool ended = finished.wait(30000);
        ResultsUpload::setStallLimit(1500ms);
        QVERIFY(ended);
        QCOMPARE(finished.first().first().value<ResultsUpload::Outcome>(), ResultsUpload::Outcome::Sent);
        QCOMPARE(bytesOf(share(QStringLiteral("drop/large_1.tsv"))), content);
        QVERIFY2(progress.size() >= 4, qPrintable(QString::number(progress.size())));
        qint64 before = -1;
        for (const QList<QVariant> &step : progress) {
            QVERIFY(step[0].toLongLong() > before);
            QCOMPARE(step[1].toLongLong(), content.size());
            before = step[0].toLongLong();
        }
        QCOMPARE(before, content.size());
    }
};

QTEST_MAIN(UploadTest)
#include "tst_upload.moc"
