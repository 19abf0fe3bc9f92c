// "Закончить" to the message the subject reads: the local save alone, and
// the local save with both files sent to a WebDAV server on this computer
// (tests/servers/webdav-server.sh, started here in a folder of its own).
// Prints the median and the slowest of 20 presses each, in milliseconds.
#include "engine/DateTime.h"
#include "engine/StudySettings.h"
#include "forms/Unit13.h"
#include "support/WindowSupport.h"
#include "windows/RadioGroup.h"
#include "windows/ResultsUpload.h"

#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QSettings>
#include <QSslCertificate>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>

class UploadBench : public QObject
{
    Q_OBJECT

    QTemporaryDir server;
    QString script = QStringLiteral(COGBATTERY_SOURCE_DIR "/tests/servers/webdav-server.sh");

    // Milliseconds from the press to the message, for each of `presses`.
    QList<double> presses(int count)
    {
        QList<double> times;
        for (int i = 0; i < count; ++i) {
            test::WorkingDirectory dir;
            test::MessageLog messages;
            test::resetRun();
            test::record().InfoSurname = QStringLiteral("Иванова");
            test::record().InfoName = QStringLiteral("Анна");
            test::record().InfoStartMoment = toDateTime(QDateTime::currentDateTime().addSecs(-3600));
            auto *w = test::makeWindow<TForm13>();
            w->present();
            test::clickItem(w->RadioGroup1, 0);
            test::clickItem(w->RadioGroup2, 2);
            test::clickItem(w->RadioGroup3, 2);
            w->Edit1->setText(QStringLiteral("врач"));
            w->Edit2->setText(QStringLiteral("a@b.ru"));
            QElapsedTimer pressed;
            pressed.start();
            test::click(w->Button1);
            times << pressed.nsecsElapsed() / 1e6;
            if (!messages.last().startsWith(QStringLiteral("Результаты сохранены")))
                qFatal("%s", qPrintable(messages.last()));
            // Each press as the first subject of the name on the server.
            QDir drop(server.filePath(QStringLiteral("drop")));
            for (const QString &file : drop.entryList(QDir::Files))
                drop.remove(file);
        }
        std::sort(times.begin(), times.end());
        return times;
    }

    static void report(const char *what, const QList<double> &times)
    {
        printf("%-40s median %7.2f ms, slowest %7.2f ms\n", what, times[times.size() / 2], times.last());
    }

private slots:
    void initTestCase()
    {
        QCOMPARE(QProcess::execute(script, {QStringLiteral("start"), server.path()}), 0);
        const QSettings ini(server.filePath(QStringLiteral("server.ini")), QSettings::IniFormat);
        ResultsUpload::trustAuthority(QSslCertificate::fromPath(server.filePath(QStringLiteral("tls/ca.pem"))).first());
        test::settings().itemData = true;
        test::settings().uploadUrl = QStringLiteral("https://127.0.0.1:%1/drop/s/%2")
                                        .arg(ini.value(QStringLiteral("server/https_port")).toString(),
                                             ini.value(QStringLiteral("server/drop_token")).toString());
    }

    void cleanupTestCase() { QProcess::execute(script, {QStringLiteral("stop"), server.path()}); }

    void finishToMessage()
    {
        const QString url = test::settings().uploadUrl;
        test::settings().uploadUrl.clear();
        report("local save alone (results + item file)", presses(20));
        test::settings().uploadUrl = url;
        report("local save, then sent to the server", presses(20));
    }
};

QTEST_MAIN(UploadBench)
#include "bench_upload.moc"
