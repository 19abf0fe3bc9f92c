#pragma once

#include "collect/Problem.h"

#include <QElapsedTimer>
#include <QIODevice>

// Standard error of the collector: the problems found, messages, and on a
// terminal a progress line while a long collection runs.
class ErrorLog
{
public:
    ErrorLog(QIODevice &device, bool terminal);

    void report(const Problem &problem);
    void message(const QString &text);
    void progress(qsizetype done, qsizetype total);
    void endProgress();

private:
    void write(const QString &text);

    QIODevice &device;
    bool terminal;
    QElapsedTimer clock;
    qint64 lastShown = -1;
    qsizetype shownWidth = 0;
};
