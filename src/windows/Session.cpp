#include "windows/Session.h"

#include "engine/DateTime.h"
#include "engine/JournalWriter.h"
#include "engine/ItemIds.h"
#include "engine/MonotonicClock.h"
#include "engine/Version.h"

#include <QDebug>
#include <QDir>
#include <QFileInfo>

namespace {

constexpr double millisecondsPerDay = 24.0 * 3600 * 1000;

// The run record's readings of the monotonic clock, taken by the process that
// wrote the journal, moved onto this process's clock, whose reading is `now`:
// the run goes on from the moment of the journal's write, and the time
// between is not counted.
void continueRecord(RunRecord &record, qint64 writtenMonotonic, qint64 now)
{
    const qint64 shift = now - writtenMonotonic;
    record.InfoStartMonotonic += shift;
    record.RavenStartMonotonic += shift;
}

} // namespace

Session::Session(StudySettings settings)
    : settings(std::move(settings))
{
}

Session::~Session() = default;

qint64 Session::spentMilliseconds() const
{
    if (spentBefore)
        return *spentBefore + monotonicMilliseconds() - sessionStartMonotonic;
    return monotonicMilliseconds() - record.InfoStartMonotonic;
}

void Session::keepJournalAt(const QString &path)
{
    writer = std::make_unique<JournalWriter>(path);
}

QString Session::journalNotice() const
{
    if (!journaled())
        return {};
    return QStringLiteral("Если тестирование прервётся не по Вашей воле (сбой, отключение питания, перезагрузка "
                          "компьютера), Ваши ответы останутся в служебном журнале на этом компьютере (папка %1, "
                          "журнал доступен только Вашей учётной записи). Запустите программу снова в течение %2 ч, и "
                          "тестирование продолжится с задания, на котором прервалось. Журнал удаляется, как только "
                          "результаты сохранены или Вы сами прервали тестирование.")
        .arg(QDir::toNativeSeparators(QFileInfo(writer->path()).absolutePath()))
        .arg(settings.resumeHours);
}

void Session::takeUp(Journal journal)
{
    sessionStartMonotonic = monotonicMilliseconds();
    record = journal.record;
    continueRecord(record, journal.writtenMonotonic, sessionStartMonotonic);
    interruptions = journal.interruptions;
    const Interruption interruption{qMax<qint64>(0, journal.written.secsTo(fromDateTime(now()))),
                                    journal.progress.window};
    interruptions.append(interruption);
    if (journal.items) {
        continueItemLog(*journal.items, journal.writtenMonotonic, sessionStartMonotonic);
        journal.items->runEvent(resumedEvent, interruption.window, QString::number(interruption.gapSeconds));
        items = *journal.items;
    }
    spentBefore = journal.spentMilliseconds;
}

void Session::windowEntered(int tasksDone, qint64 earlierOnScreen)
{
    accepted = tasksDone;
    windowShownAt = monotonicMilliseconds();
    windowEarlierOnScreen = earlierOnScreen;
}

qint64 Session::windowOnScreenMilliseconds() const
{
    return windowEarlierOnScreen + monotonicMilliseconds() - windowShownAt;
}

void Session::writeJournal(const WindowProgress &progress) const
{
    if (!journaled())
        return;
    Journal journal;
    journal.batteryVersion = QString::fromLatin1(cogbatteryVersion);
    journal.written = fromDateTime(now()).toUTC();
    journal.writtenMonotonic = monotonicMilliseconds();
    journal.spentMilliseconds = spentMilliseconds();
    journal.tasksDone = accepted;
    journal.record = record;
    if (settings.itemData)
        journal.items = items;
    journal.progress = progress;
    journal.interruptions = interruptions;
    writer->write(std::move(journal));
}

void Session::drainJournal() const
{
    if (journaled())
        writer->drain();
}

void Session::endJournal()
{
    if (journaled() && !writer->remove())
        qWarning().noquote() << "The journal" << writer->path() << "could not be deleted";
    writer.reset(); // the time spent still counts from where the run was taken up
}

double Session::runDays() const
{
    return double(spentMilliseconds()) / millisecondsPerDay;
}
