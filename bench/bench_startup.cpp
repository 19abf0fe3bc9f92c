// Start-up and memory of the battery, against bench_bare:
//   bench_startup          starts like the battery, quits once the first window is shown
//   bench_startup all      creates all twelve windows, then reports the resident memory
// bench/startup.py runs these as whole processes and compares them.
#include "core/Form.h"
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
        // As a run goes: each window shown, then hidden for the next one.
        Form *previous = currentInstance<TForm1>;
        auto next = [&](Form *window) {
            window->present();
            QCoreApplication::processEvents();
            previous->hide();
            previous = window;
        };
        next(new TForm2);
        next(new TForm4);
        next(new TForm11);
        next(new TForm5);
        next(new TForm6);
        next(new TForm10);
        next(new TForm7);
        next(new TForm8);
        next(new TForm9);
        next(new TForm12);
        next(new TForm13);
    }
    QTimer::singleShot(0, &app, [&] {
        std::printf("rss_kb %ld\n", residentKilobytes());
        app.quit();
    });
    const int status = app.exec();
    Form::disposeAll();
    return status;
}
