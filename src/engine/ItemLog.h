#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <optional>

// How an item was left: answered, left empty, or taken by a time limit.
enum class EndedOn { Response, Empty, Timeout };

// What the log knows of one item; times in milliseconds of the monotonic clock.
struct LoggedItem
{
    QString task;
    qint64 shownAt = 0;                // its task's window shown
    std::optional<qint64> presentedAt; // first shown or played
    QString stimulus;                  // as the window gave it; empty when the rows know it
    QString value;                     // the answer as it now reads
    int changes = 0;
    std::optional<qint64> lastChangeAt;
    std::optional<EndedOn> ended; // set only by a time limit; else the value tells
};

// One press that is a trial of its own, such as a calculator operation.
struct LoggedAction
{
    QString task;
    QString item;
    QString response;
    QString outcome; // what the battery answered, if anything
    qint64 shownAt = 0;
    qint64 at = 0;
};

// What the subject meets and does, item by item, as the windows report it,
// timed by the monotonic clock. Each item belongs to the task whose window
// was shown last. An item first reported as changed was on the page from the
// window's showing. The run's session is a random UUID made with the log.
class ItemLog
{
public:
    ItemLog();

    const QString &session() const { return sessionId; }

    void shown(const QString &task);
    void presented(const QString &item, const QString &stimulus = {});
    void changed(const QString &item, const QString &value);
    void ended(const QString &item, EndedOn how);
    void acted(const QString &item, const QString &response = {}, const QString &outcome = {});

    // Nothing when the item was never reported.
    const LoggedItem *item(const QString &id) const;
    // When the task's window was first shown; nothing when never.
    std::optional<qint64> shownAt(const QString &task) const;
    // Items of a task in the order first presented (unpresented ones left out).
    QStringList presentedItems(const QString &task) const;
    QList<LoggedAction> actions(const QString &task) const;

private:
    friend struct ItemLogCodec; // the resume journal keeps and restores the whole log

    LoggedItem &entry(const QString &id);

    QString sessionId;
    QString currentTask;
    qint64 currentShownAt = 0;
    QHash<QString, qint64> firstShown;
    QHash<QString, LoggedItem> items;
    QStringList presentationOrder;
    QList<LoggedAction> actionList;
};

// The log of this run.
ItemLog &itemLog();
