#include "collect/ErrorLog.h"

namespace {

// A collection that ends within this time shows no progress line at all.
constexpr qint64 quietStartMs = 300;
constexpr qint64 refreshMs = 100;

} // namespace

ErrorLog::ErrorLog(QIODevice &device, bool terminal)
    : device(device)
    , terminal(terminal)
{
    clock.start();
}

void ErrorLog::write(const QString &text)
{
    device.write(text.toUtf8());
}

void ErrorLog::report(const Problem &problem)
{
    message(problemText(problem));
}

void ErrorLog::message(const QString &text)
{
    endProgress();
    write(text + u'\n');
}

void ErrorLog::progress(qsizetype done, qsizetype total)
{
    const qint64 now = clock.elapsed();
    if (!terminal || now < quietStartMs || (lastShown >= 0 && now - lastShown < refreshMs))
        return;
    lastShown = now;
    const QString line = QStringLiteral("reading results files: %1 of %2").arg(done).arg(total);
    write(u'\r' + line.leftJustified(shownWidth));
    shownWidth = line.size();
}

void ErrorLog::endProgress()
{
    if (shownWidth == 0)
        return;
    write(u'\r' + QString(shownWidth, u' ') + u'\r');
    shownWidth = 0;
}
