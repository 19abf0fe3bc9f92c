// The yardstick of bench/startup.py: a bare Qt Widgets program, a hello-world
// label in one maximised window, that reports its resident memory and quits.
#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QTimer>
#include <cstdio>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QLabel window(QStringLiteral("Здравствуйте!"));
    window.showMaximized();
    QTimer::singleShot(0, &app, [&] {
        QFile status(QStringLiteral("/proc/self/status"));
        long kb = -1;
        if (status.open(QIODevice::ReadOnly))
            for (const QByteArray &line : status.readAll().split('\n'))
                if (line.startsWith("VmRSS:"))
                    kb = line.mid(6).trimmed().split(' ').first().toLong();
        std::printf("rss_kb %ld\n", kb);
        app.quit();
    });
    return app.exec();
}
