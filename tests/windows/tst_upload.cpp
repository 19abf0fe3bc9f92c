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
#include <QTimer>
#include <optional>

using namespace std::chrono_literals;

// "Закончить" with an upload address: the files go to a real WebDAV server on
// this computer (tests/servers/webdav-server.sh, started by the test command,
// which names its folder in COGBATTERY_UPLOAD_SERVER), whose shares are
// folders the test reads directly.
class UploadTest : public QObject
{
    Q_OBJECT

    QString server;
    QHash<QString, QString> given; // {https_port}, {drop_token}, … of the server
    std::optional<test::WorkingDirectory> dir;
    std::optional<test::MessageLog> messages;
    bool cancelOnSight = false; // "Отменить" as soon as the progress bar shows
    QString barLabel;

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
        QVERIFY2(QFile::exists(share("server.ini")), "run through ctest, which starts tests/servers/webdav-server.sh");
        const QSettings ini(share("server.ini"), QSettings::IniFormat);
        for (const QString &key : ini.allKeys())
            given[u'{' + key.section(u'/', 1) + u'}'] = ini.value(key).toString();
        ResultsUpload::trustAuthority(QSslCertificate::fromPath(share("tls/ca.pem")).value(0));
        ResultsUpload::setStallLimit(1500ms);
        qApp->installEventFilter(this);
    }

    void init()
    {
        test::resetRun();
        for (const QString &name : {"drop", "locked"})
            for (const QString &file : QDir(share(name)).entryList(QDir::Files))
                QVERIFY(QFile::remove(QDir(share(name)).filePath(file)));
        dir.emplace();
        messages.emplace();
        test::settings() = StudySettings{};
        test::settings().contactEmail = QStringLiteral("results@study.example");
        test::record().InfoSurname = QStringLiteral("А");
        test::record().InfoName = QStringLiteral("Б");
        test::record().InfoStartMoment = toDateTime(QDateTime::currentDateTime());
    }

    void cleanup()
    {
        test::resetRun();
        test::settings() = StudySettings{};
        messages.reset();
        dir.reset();
    }

    // Whatever the server does, the local file is complete and every message
    // names it; the subject learns that the files arrived, or why not and
    // where to e-mail them, and the run ends once the subject is done. What
    // arrives is what was saved, byte for byte, and nothing else; nothing on
    // the server is replaced; no message shows a token or password.
    void finishSavesThenSends_data()
    {
        QTest::addColumn<QString>("url");
        QTest::addColumn<QString>("password");
        QTest::addColumn<QString>("options"); // items: item data; taken: А_Б_1.txt on the server;
                                              // stall: no answer once; cancel: "Отменить"
        QTest::addColumn<QStringList>("said"); // each message in turn; "sent" for the arrival
        QTest::addColumn<QString>("arrived");  // share/name of the results on the server
        const QString link = QStringLiteral("https://127.0.0.1:{https_port}/drop/s/{drop_token}");
        const QString stalling = QStringLiteral("https://127.0.0.1:{stalling_port}/drop/s/{drop_token}");
        const QStringList sent{"sent"};
        const QStringList refused{"отказался принять"};
        QTest::newRow("share link") << link << "" << "" << sent << "drop/А_Б_1.txt";
        QTest::newRow("share link, index.php, password")
            << "https://127.0.0.1:{https_port}/locked/index.php/s/{locked_token}" << "{locked_password}" << ""
            << sent << "locked/А_Б_1.txt";
        QTest::newRow("WebDAV folder, item file") << "https://{drop_token}@127.0.0.1:{https_port}/drop/public.php/webdav"
                                                  << "" << "items" << sent << "drop/А_Б_1.txt";
        QTest::newRow("name taken") << link << "" << "taken" << sent << "drop/А_Б_2.txt";
        QTest::newRow("wrong token") << "https://127.0.0.1:{https_port}/drop/s/x" << "" << "" << refused << "";
        QTest::newRow("wrong password") << "https://127.0.0.1:{https_port}/locked/s/{locked_token}" << "x" << ""
                                        << refused << "";
        QTest::newRow("server full") << "https://127.0.0.1:{https_port}/full/s/{drop_token}" << "" << ""
                                     << QStringList{"нет места"} << "";
        QTest::newRow("server down") << "https://127.0.0.1:{closed_port}/drop/s/{drop_token}" << "" << ""
                                     << QStringList{"нет соединения"} << "";
        QTest::newRow("certificate for another name") << "https://127.0.0.1:{other_name_port}/drop/s/{drop_token}"
                                                      << "" << "" << QStringList{"подлинность"} << "";
        QTest::newRow("redirect on the same server") << "https://127.0.0.1:{https_port}/renamed/s/{drop_token}" << ""
                                                     << "" << sent << "drop/А_Б_1.txt";
        QTest::newRow("redirect to http") << "https://127.0.0.1:{https_port}/moved/s/{drop_token}" << "" << ""
                                          << refused << "";
        QTest::newRow("no answer, then again") << stalling << "" << "stall"
                                               << QStringList{"время ожидания истекло", "sent"} << "drop/А_Б_1.txt";
        QTest::newRow("cancelled") << stalling << "" << "stall cancel" << QStringList{"отправка отменена"} << "";
    }

    void finishSavesThenSends()
    {
        QFETCH(QString, url);
        QFETCH(QString, password);
        QFETCH(QString, options);
        QFETCH(QStringList, said);
        QFETCH(QString, arrived);
        test::settings().uploadUrl = filled(url);
        test::settings().uploadPassword = filled(password);
        test::settings().itemData = options.contains(u"items");
        const QByteArray earlier("an earlier subject's file");
        QFile taken(share("drop/А_Б_1.txt"));
        QVERIFY(!options.contains(u"taken") || (taken.open(QIODevice::WriteOnly) && taken.write(earlier) > 0));
        taken.close();
        QFile stall(share("stall"));
        QVERIFY(!options.contains(u"stall") || stall.open(QIODevice::WriteOnly));
        cancelOnSight = options.contains(u"cancel");
        messages->answers = QStringList(said.size() - 1, QStringLiteral("Повторить"));
        barLabel.clear();
        auto *w = test::makeWindow<TForm13>();
        w->present();
        for (RadioGroup *group : {w->RadioGroup1, w->RadioGroup2, w->RadioGroup3})
            test::clickItem(group, 0);
        test::typeText(w->Edit1, QStringLiteral("врач"));
        test::typeText(w->Edit2, QStringLiteral("a@b.ru"));
        test::click(w->Button1);

        const QString local = QDir(dir->path()).filePath(QStringLiteral("А_Б_1.txt"));
        QCOMPARE(test::resultsFileLines(local).size(), 69);
        QCOMPARE(messages->texts.size(), said.size());
        for (qsizetype i = 0; i < said.size(); ++i) {
            const QString &text = messages->texts[i];
            const bool told = said[i] == u"sent"
                ? text.endsWith(QStringLiteral(" и отправлены организаторам исследования."))
                : text.contains(said[i]) && text.contains(QStringLiteral("results@study.example"));
            QVERIFY2(told && text.contains(QDir::toNativeSeparators(local)), qPrintable(text));
            for (const char *secret : {"{drop_token}", "{locked_token}", "{locked_password}"})
                QVERIFY2(!text.contains(given[secret]), qPrintable(text));
        }
        QCOMPARE(barLabel, QStringLiteral("Отправка результатов организаторам…"));
        QVERIFY(!w->isVisible());

        QStringList onServer, expected;
        for (const QString &name : {"drop", "locked", "full"})
            for (const QString &file : QDir(share(name)).entryList(QDir::Files))
                onServer << name + u'/' + file;
        if (options.contains(u"taken")) {
            expected << QStringLiteral("drop/А_Б_1.txt");
            QCOMPARE(bytesOf(taken.fileName()), earlier);
        }
        if (!arrived.isEmpty()) {
            expected << arrived;
            QCOMPARE(bytesOf(share(arrived)), bytesOf(local));
        }
        if (!arrived.isEmpty() && options.contains(u"items")) {
            expected << itemFilePath(arrived);
            QCOMPARE(bytesOf(share(itemFilePath(arrived))), bytesOf(itemFilePath(local)));
        }
        onServer.sort();
        expected.sort();
        QCOMPARE(onServer, expected);
    }

    // The window asks for no e-mail when the files go to the server.
    void theWindowAsksForNoEmail()
    {
        test::settings().uploadUrl = filled(QStringLiteral("https://127.0.0.1:{https_port}/drop/s/{drop_token}"));
        const QString text = (test::makeWindow<TForm13>())->findChild<QLabel *>(QStringLiteral("Label6"))->text();
        QVERIFY2(text.contains(QStringLiteral("отправлены организаторам")) && !text.contains(QStringLiteral("адрес")),
                 qPrintable(text));
    }

    // A large file on a long way goes in steps, arrives whole, and the last
    // step is the whole file.
    void aLargeFileShowsItsProgress()
    {
        QByteArray content(10 * 1024 * 1024, '\0');
        for (qsizetype i = 0; i < content.size(); ++i)
            content[i] = char('a' + (i * 7919) % 26);
        QFile file(QStringLiteral("large.items.tsv"));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(content) == content.size());
        file.close();
        ResultsUpload upload(uploadAddress(filled(QStringLiteral("https://127.0.0.1:{slow_port}/drop/s/{drop_token}")), {}),
                             {file.fileName()}, [](int number) { return QStringList{QStringLiteral("large_%1.tsv").arg(number)}; });
        QSignalSpy progress(&upload, &ResultsUpload::progressed);
        QSignalSpy finished(&upload, &ResultsUpload::finished);
        // The system takes megabytes at once, which the slow relay drains at
        // its pace: seconds without progress that the limit must allow.
        ResultsUpload::setStallLimit(10s);
        upload.start();
        const bool ended = finished.wait(30000);
        ResultsUpload::setStallLimit(1500ms);
        QVERIFY(ended);
        QCOMPARE(finished.first().first().value<ResultsUpload::Outcome>(), ResultsUpload::Outcome::Sent);
        QCOMPARE(bytesOf(share("drop/large_1.tsv")), content);
        QVERIFY2(progress.size() >= 4, qPrintable(QString::number(progress.size())));
        qint64 before = -1;
        for (const QList<QVariant> &step : progress) {
            QVERIFY(step[0].toLongLong() > before && step[1].toLongLong() == content.size());
            before = step[0].toLongLong();
        }
        QCOMPARE(before, content.size());
    }
};

QTEST_MAIN(UploadTest)
#include "tst_upload.moc"
