// Start-up and memory of the battery, against bench_bare:
//   bench_startup          starts like the battery, quits once the first window is shown
//   bench_startup all      creates all twelve windows, then reports the resident memory
// bench/startup.py runs these as whole processes and compares them.
#include "forms/Unit1.h"
#include "forms/Unit10.h"
#include "forms/Unit11.h"
#include "forms/Unit12.h"
#include "forms/Unit13.h"
#include "forms/Unit2.h"
#include "forms/Unit4.h"
#include "forms/Unit5.h"
#include "forms/Unit6.h"
#include "forms/Unit7.h"
#include "forms/Unit8.h"
#include "forms/Unit9.h"
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
    currentInstance<TForm1> = new TForm1;
    currentInstance<TForm1>->present();
    if (argc > 1 && QByteArray(argv[1]) == "all") {
        // As a run goes: each window shown by the forward step of the one before.
        auto report = [](Form *window) {
            QCoreApplication::processEvents();
            std::fprintf(stderr, "%-7s %ld KB\n", window->metaObject()->className(), residentKilobytes());
            return window;
        };
        Form *window = currentInstance<TForm1>;
        window = report(window->forwardTo<TForm2>());
        window = report(window->forwardTo<TForm4>());
        window = report(window->forwardTo<TForm11>());
        window = report(window->forwardTo<TForm5>());
        window = report(window->forwardTo<TForm6>());
        window = report(window->forwardTo<TForm10>());
        window = report(window->forwardTo<TForm7>());
        window = report(window->forwardTo<TForm8>());
        window = report(window->forwardTo<TForm9>());
        window = report(window->forwardTo<TForm12>());
        report(window->forwardTo<TForm13>());
    }
    QTimer::singleShot(0, &app, [&] {
        std::printf("rss_kb %ld\n", residentKilobytes());
        app.quit();
    });
    const int status = app.exec();
    Form::disposeAll();
    return status;
}
