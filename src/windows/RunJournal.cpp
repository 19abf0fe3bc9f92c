#include "windows/RunJournal.h"

#include "engine/DateTime.h"
#include "engine/ItemIds.h"
#include "engine/JournalWriter.h"
#include "engine/MonotonicClock.h"
#include "engine/StudySettings.h"
#include "engine/Version.h"

#include <QDebug>
#include <QDir>
#include <QFileInfo>
#include <memory>

namespace runJournal {

namespace {

constexpr double millisecondsPerDay = 24.0 * 3600 * 1000;

struct State
{
    std::unique_ptr<JournalWriter> writer; // none: not kept
    std::optional<Journal> takenUpFrom;  // the journal this session went on from
    qint64 sessionStartMonotonic = 0;    // this session's start, when taken up
    QList<Interruption> interruptions;
};

State &state()
{
    static State own;
    return own;
}

qint64 spentMilliseconds()
{
    const State &s = state();
    if (s.takenUpFrom)
        return s.takenUpFrom->spentMilliseconds + monotonicMilliseconds() - s.sessionStartMonotonic;
    return monotonicMilliseconds() - run().InfoStartMonotonic;
}

} // namespace

void keepAt(const QString &path)
{
    state().writer = std::make_unique<JournalWriter>(path);
}

bool kept()
{
    return state().writer != nullptr;
}

QString notice()
{
    if (!kept())
        return {};
    return QStringLiteral("Если тестирование прервётся не по Вашей воле (сбой, отключение питания, перезагрузка "
                          "компьютера), Ваши ответы останутся в служебном журнале на этом компьютере (папка %1, "
                          "журнал доступен только Вашей учётной записи). Запустите программу снова в течение %2 ч, и "
                          "тестирование продолжится с задания, на котором прервалось. Журнал удаляется, как только "
                          "результаты сохранены или Вы сами прервали тестирование.")
        .arg(QDir::toNativeSeparators(QFileInfo(state().writer->path()).absolutePath()))
        .arg(studySettings().resumeHours);
}

void takeUp(Journal journal)
{
    State &s = state();
    s.sessionStartMonotonic = monotonicMilliseconds();
    run() = journal.record;
    s.interruptions = journal.interruptions;
    const Interruption interruption{qMax<qint64>(0, journal.written.secsTo(fromDateTime(now()))),
                                    journal.progress.window};
    s.interruptions.append(interruption);
    if (journal.items) {
        continueItemLog(*journal.items, journal.writtenMonotonic, s.sessionStartMonotonic);
        journal.items->runEvent(resumedEvent, interruption.window, QString::number(interruption.gapSeconds));
        itemLog() = *journal.items;
    }
    s.takenUpFrom = std::move(journal);
}

bool takenUp()
{
    return state().takenUpFrom.has_value();
}

void write(int tasksDone, const WindowProgress &progress)
{
    const State &s = state();
    if (!s.writer)
        return;
    Journal journal;
    journal.batteryVersion = QString::fromLatin1(cogbatteryVersion);
    journal.written = fromDateTime(now()).toUTC();
    journal.writtenMonotonic = monotonicMilliseconds();
    journal.spentMilliseconds = spentMilliseconds();
    journal.tasksDone = tasksDone;
    journal.record = run();
    if (studySettings().itemData)
        journal.items = itemLog();
    journal.progress = progress;
    journal.interruptions = s.interruptions;
    s.writer->write(std::move(journal));
}

void drain()
{
    if (kept())
        state().writer->drain();
}

void end()
{
    if (kept() && !state().writer->remove())
        qWarning().noquote() << "The journal" << state().writer->path() << "could not be deleted";
    forget();
}

double runDays()
{
    return double(spentMilliseconds()) / millisecondsPerDay;
}

void forget()
{
    state() = State{};
}

} // namespace runJournal
