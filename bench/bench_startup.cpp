// Start-up and memory of the battery against a bare Qt Widgets program.
//   bench_startup          starts like the battery, quits once the first window is shown
//   bench_startup bare     the same for a bare QWidget
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
#include <QTextStream>
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
    const QString mode = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    QWidget *first = nullptr;
    if (mode == QStringLiteral("bare")) {
        first = new QWidget;
        first->showMaximized();
    } else {
        QApplication::setFont(Form::textFont(TextStyle::Plain));
        auto *form = new TForm1;
        form->present();
        first = form;
        if (mode == QStringLiteral("all")) {
            (new TForm2)->present();
            (new TForm4)->present();
            (new TForm11)->present();
            (new TForm5)->present();
            (new TForm6)->present();
            (new TForm10)->present();
            (new TForm7)->present();
            (new TForm8)->present();
            (new TForm9)->present();
            (new TForm12)->present();
            (new TForm13)->present();
        }
    }
    QTimer::singleShot(0, &app, [&] {
        std::printf("rss_kb %ld\n", residentKilobytes());
        app.quit();
    });
    const int status = app.exec();
    delete first;
    Form::disposeAll();
    return status;
}
