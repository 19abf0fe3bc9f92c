// Start-up and memory of the battery, against bench_bare:
//   bench_startup          starts like the battery, quits once the first window is shown
//   bench_startup all      creates all twelve windows, then reports the resident memory
// bench/startup.py runs these as whole processes and compares them.
#include "forms/Sequence.h"
#include "windows/Form.h"

#include <QApplication>
#include <QFile>
#include <QTimer>
#include <cstdio>

namespace {

long residentKilobytes()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toLong();
    return -1;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setFont(Form::textFont(TextStyle::Plain));
    Sequence run;
    Form *window = run.start();
    if (argc > 1 && QByteArray(argv[1]) == "all") {
        // As a run goes: each window shown by the forward step of the one
        // before, which is deleted when its handler returns.
        run.session().record.InfoHasSiblings = QStringLiteral("1");
        for (int step = 1; step < sequence::order().size(); ++step) {
            window = run.forward(window);
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            QCoreApplication::processEvents();
            std::fprintf(stderr, "%-7s %ld KB\n", window->metaObject()->className(), residentKilobytes());
        }
    }
    QTimer::singleShot(0, &app, [&] {
        std::printf("rss_kb %ld\n", residentKilobytes());
        Form::closeAll(); // without the question that closing a window asks
    });
    const int status = app.exec();
    Form::disposeAll();
    return status;
}
