#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <optional>

// How an item was left: answered, left empty, or taken by a time limit
// while still without an answer.
enum class EndedOn { Response, Empty, Timeout };

// What the log knows of one item; times in milliseconds of the monotonic clock.
struct LoggedItem
{
    QString task;
    qint64 shownAt = 0;                // its task's window on screen
    qint64 sequence = 0;               // of its presentation, or of its window's showing
    std::optional<qint64> presentedAt; // presented later than its window's showing, such as a word played
    QString stimulus;                  // as the window gave it; empty when the rows know it
    QString text;                      // a typed field's text as it now reads
    QString value;                     // the accepted answer
    int changes = 0;                   // of the accepted answer
    std::optional<int> keystrokes;     // edits of a typed field's text; nothing for a choice
    std::optional<qint64> lastEditAt;  // of a typed field's text
    std::optional<qint64> lastChangeAt; // of the accepted answer
    bool locked = false;               // by a time limit
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
    qint64 sequence = 0;
};

// Something that happened in the run: a window shown or left, the
// application's focus lost or regained, a recording started or ended, a
// message shown, the mathematics sheet locked.
struct LoggedEvent
{
    QString task; // the window's task, or "session"
    QString name;
    QString stimulus; // what it concerns
    QString response;
    qint64 at = 0;
    qint64 sequence = 0;
};

// When a window of a task came on screen, and its place in the order of
// what was logged.
struct WindowShowing
{
    qint64 at = 0;
    qint64 sequence = 0;
};

// What the subject meets and does, item by item, as the windows report it,
// timed by the monotonic clock. The run starts when its first window comes
// on screen. Each item belongs to the task whose window was shown last; an
// item on a window's page is presented with the window unless reported as
// presented later. A typed field's answer is accepted when an edit is
// finished (the field left, or Enter); a choice with each click. The run's
// session is a random UUID made with the log.
class ItemLog
{
public:
    ItemLog();

    const QString &session() const { return sessionId; }

    // A window of the task (or "session" for one without) on screen and left;
    // `window` names it (its class).
    void windowShown(const QString &task, const QString &window);
    void windowLeft(const QString &window);
    // An event of the window on screen: see LoggedEvent.
    void event(const QString &name, const QString &stimulus = {}, const QString &response = {});
    // An event of the whole run rather than of the window on screen, such as
    // the run taken up again after an interruption.
    void runEvent(const QString &name, const QString &stimulus = {}, const QString &response = {});

    void presented(const QString &item, const QString &stimulus = {});
    // A typed field's text changed by the subject, and an edit finished.
    void edited(const QString &item, const QString &text);
    void finished(const QString &item);
    // A click that chose a value.
    void chose(const QString &item, const QString &value);
    // A time limit takes the item as it stands: an edit in progress is
    // accepted, and nothing changes it after.
    void lock(const QString &item);
    void acted(const QString &item, const QString &response = {}, const QString &outcome = {});

    // When the run's first window came on screen; nothing before.
    std::optional<qint64> started() const { return sessionStart; }
    // Nothing when the item was never reported.
    const LoggedItem *item(const QString &id) const;
    // When the task's window first came on screen; nothing when never.
    std::optional<WindowShowing> shownAt(const QString &task) const;
    // Items of a task reported as presented, in the order presented.
    QStringList presentedItems(const QString &task) const;
    QList<LoggedAction> actions(const QString &task) const;
    const QList<LoggedEvent> &events() const { return eventList; }

private:
    friend struct ItemLogCodec; // the resume journal keeps and restores the whole log

    LoggedItem &entry(const QString &id);
    qint64 nextSequence() { return ++sequence; }

    QString sessionId;
    std::optional<qint64> sessionStart;
    QString currentTask = QStringLiteral("session");
    WindowShowing currentShowing;
    qint64 sequence = 0;
    QHash<QString, WindowShowing> firstShown;
    QHash<QString, LoggedItem> items;
    QList<LoggedAction> actionList;
    QList<LoggedEvent> eventList;
};
