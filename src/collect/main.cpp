#include "collect/CommandLine.h"

#include <QCoreApplication>
#include <QFile>
#include <cstdio>

#ifdef Q_OS_WIN
#include <fcntl.h>
#include <io.h>
#include <windows.h>
#define isatty _isatty
#define fileno _fileno
#else
#include <unistd.h>
#endif

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("cogbattery-collect"));

#ifdef Q_OS_WIN
    _setmode(_fileno(stdout), _O_BINARY); // the table's CR LF as they are
    SetConsoleOutputCP(CP_UTF8);          // reports name files in Cyrillic
#endif
    QFile out;
    QFile err;
    out.open(stdout, QIODevice::WriteOnly);
    err.open(stderr, QIODevice::WriteOnly | QIODevice::Unbuffered);
    const int status = runCollector(app.arguments(), {out, err, isatty(fileno(stderr)) != 0});
    out.flush();
    return status;
}
