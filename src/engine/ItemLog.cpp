#include "engine/ItemLog.h"

#include "engine/ItemIds.h"
#include "engine/MonotonicClock.h"

#include <QUuid>
#include <algorithm>

ItemLog::ItemLog()
    : sessionId(QUuid::createUuid().toString(QUuid::WithoutBraces))
{
}

void ItemLog::windowShown(const QString &task, const QString &window)
{
    const qint64 now = monotonicMilliseconds();
    if (!sessionStart)
        sessionStart = now;
    currentTask = task;
    currentShowing = {now, nextSequence()};
    if (!firstShown.contains(task))
        firstShown.insert(task, currentShowing);
    eventList.append({task, QStringLiteral("window-shown"), window, {}, now, currentShowing.sequence});
}

void ItemLog::windowLeft(const QString &window)
{
    event(QStringLiteral("window-left"), window);
}

void ItemLog::event(const QString &name, const QString &stimulus, const QString &response)
{
    eventList.append({currentTask, name, stimulus, response, monotonicMilliseconds(), nextSequence()});
}

void ItemLog::runEvent(const QString &name, const QString &stimulus, const QString &response)
{
    eventList.append({task::session, name, stimulus, response, monotonicMilliseconds(), nextSequence()});
}

LoggedItem &ItemLog::entry(const QString &id)
{
    auto found = items.find(id);
    if (found == items.end()) {
        LoggedItem fresh;
        fresh.task = currentTask;
        fresh.shownAt = currentShowing.at;
        fresh.sequence = currentShowing.sequence;
        found = items.insert(id, fresh);
    }
    return *found;
}

void ItemLog::presented(const QString &item, const QString &stimulus)
{
    LoggedItem &logged = entry(item);
    if (logged.presentedAt)
        return;
    logged.presentedAt = monotonicMilliseconds();
    logged.sequence = nextSequence();
    logged.stimulus = stimulus;
}

void ItemLog::edited(const QString &item, const QString &text)
{
    LoggedItem &logged = entry(item);
    if (logged.locked)
        return;
    logged.text = text;
    logged.keystrokes = logged.keystrokes.value_or(0) + 1;
    logged.lastEditAt = monotonicMilliseconds();
}

void ItemLog::finished(const QString &item)
{
    LoggedItem &logged = entry(item);
    if (logged.locked || !logged.keystrokes || logged.text == logged.value)
        return;
    logged.value = logged.text;
    ++logged.changes;
    logged.lastChangeAt = logged.lastEditAt;
}

void ItemLog::chose(const QString &item, const QString &value)
{
    LoggedItem &logged = entry(item);
    if (logged.locked || value == logged.value)
        return;
    logged.value = value;
    ++logged.changes;
    logged.lastChangeAt = monotonicMilliseconds();
}

void ItemLog::lock(const QString &item)
{
    finished(item);
    entry(item).locked = true;
}

void ItemLog::acted(const QString &item, const QString &response, const QString &outcome)
{
    actionList.append({currentTask, item, response, outcome, currentShowing.at, monotonicMilliseconds(), nextSequence()});
}

const LoggedItem *ItemLog::item(const QString &id) const
{
    const auto found = items.constFind(id);
    return found == items.constEnd() ? nullptr : &*found;
}

std::optional<WindowShowing> ItemLog::shownAt(const QString &task) const
{
    const auto found = firstShown.constFind(task);
    return found == firstShown.constEnd() ? std::nullopt : std::optional(*found);
}

QStringList ItemLog::presentedItems(const QString &task) const
{
    QStringList ids;
    for (auto logged = items.begin(); logged != items.end(); ++logged)
        if (logged->task == task && logged->presentedAt)
            ids << logged.key();
    std::sort(ids.begin(), ids.end(),
              [&](const QString &a, const QString &b) { return items[a].sequence < items[b].sequence; });
    return ids;
}

QList<LoggedAction> ItemLog::actions(const QString &task) const
{
    QList<LoggedAction> own;
    for (const LoggedAction &action : actionList)
        if (action.task == task)
            own << action;
    return own;
}
