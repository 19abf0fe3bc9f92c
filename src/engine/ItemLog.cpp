#include "engine/ItemLog.h"

#include "engine/MonotonicClock.h"

#include <QUuid>

ItemLog::ItemLog()
    : sessionId(QUuid::createUuid().toString(QUuid::WithoutBraces))
{
}

void ItemLog::shown(const QString &task)
{
    currentTask = task;
    currentShownAt = monotonicMilliseconds();
    if (!firstShown.contains(task))
        firstShown.insert(task, currentShownAt);
}

LoggedItem &ItemLog::entry(const QString &id)
{
    auto found = items.find(id);
    if (found == items.end()) {
        LoggedItem fresh;
        fresh.task = currentTask;
        fresh.shownAt = currentShownAt;
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
    logged.stimulus = stimulus;
    presentationOrder << item;
}

void ItemLog::changed(const QString &item, const QString &value)
{
    LoggedItem &logged = entry(item);
    if (!logged.presentedAt) {
        logged.presentedAt = logged.shownAt;
        presentationOrder << item;
    }
    if (logged.ended || value == logged.value)
        return;
    logged.value = value;
    ++logged.changes;
    logged.lastChangeAt = monotonicMilliseconds();
}

void ItemLog::ended(const QString &item, EndedOn how)
{
    entry(item).ended = how;
}

void ItemLog::acted(const QString &item, const QString &response, const QString &outcome)
{
    actionList.append({currentTask, item, response, outcome, currentShownAt, monotonicMilliseconds()});
}

const LoggedItem *ItemLog::item(const QString &id) const
{
    const auto found = items.constFind(id);
    return found == items.constEnd() ? nullptr : &*found;
}

std::optional<qint64> ItemLog::shownAt(const QString &task) const
{
    const auto found = firstShown.constFind(task);
    return found == firstShown.constEnd() ? std::nullopt : std::optional(*found);
}

QStringList ItemLog::presentedItems(const QString &task) const
{
    QStringList ids;
    for (const QString &id : presentationOrder)
        if (items[id].task == task)
            ids << id;
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

ItemLog &itemLog()
{
    static ItemLog log;
    return log;
}
