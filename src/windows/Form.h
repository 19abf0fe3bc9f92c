#pragma once

#include "windows/Session.h"
#include "windows/Widths.h"

#include <QPointer>
#include <QWidget>
#include <functional>

class QBoxLayout;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QScrollArea;
class QVBoxLayout;
class RadioGroup;

// The current instance of each window class: the one the sequence last created.
template <class T>
inline QPointer<T> currentInstance;

enum class TextStyle { Plain, Question, Heading, Hint };

// A field whose text the results file keeps, and what a message calls it.
struct SavedText
{
    QLineEdit *field;
    QString name;
};

// The top of a page under the subject field: the window's heading and, centred
// under it, its instructions at most textWidth wide.
struct TitleBlock
{
    QString headingName;
    QString heading;
    QString textName;
    QString text;
    int textWidth;
};

// The item a field or a choice answers, for the item log: its id, the value
// logged for each choice of a radio group (in item order), what its row
// shows as presented (empty: what the item file knows of it), and whether it
// is presented with the window's page or later, when the window says so.
struct LoggedAs
{
    QString item;
    QStringList values;
    QString stimulus;
    bool withPage = true;
};

// The day, month and year fields of a date typed in three parts.
struct DateFields
{
    QLineEdit *day;
    QLineEdit *month;
    QLineEdit *year;
};

// What every window of the battery shares: maximised, on top, only the system
// menu and minimise, white, scrolling 10 pixels per wheel notch (over the page
// and its scroll bars, up and down or sideways), the subject
// label, the pieces its page is built of, the guarded forward handler and its
// part of the forward step. It works on the session of the run it is part of,
// and reports what the run's journal keeps: the window accepted, its progress.
class Form : public QWidget
{
    Q_OBJECT
public:
    Form(Session &session, const QString &caption, QWidget *owner = nullptr);
    ~Form() override;

    // Shows the window maximised and active.
    void present();

    void FormMouseWheelDown();
    void FormMouseWheelUp();

    // The run the window is part of.
    Session &session() const { return ownSession; }

    // The subject's surname, one blank and the name, as typed.
    QString subjectText() const;

    // Shows the subject of the run, for a window that no other handed over to.
    void showSubject() { setSubject(subjectText()); }

    // The window's part of the forward step: the next window takes the
    // subject; this one hides for good and is deleted once its handler has
    // returned (the sequence of windows drives the step).
    void handOverTo(Form *next);

    // Closes every window created so far without asking, which ends the program.
    static void closeAll();

    // Deletes every window created so far; the program does this on exit.
    static void disposeAll();

    // The questions are set in Times New Roman; the program makes the plain
    // style its default font, so that no other font need be loaded.
    static QFont textFont(TextStyle style);

signals:
    // The window has done its part: its forward handler's checks and stores
    // succeeded, and the run goes on to the next window.
    void accepted();
    // What the run's journal keeps of the window in progress changed: an
    // answer given inside it, a recording spent, the sheet's warning or lock.
    void progressed();

protected:
    // The run's record and item log, which the window's handlers fill.
    RunRecord &run() const { return ownSession.record; }
    ItemLog &itemLog() const { return ownSession.items; }

    // The column the window lays its content into.
    QVBoxLayout *body() const { return content; }
    QScrollArea *scroller() const { return scrollArea; }

    // The pieces of a page (FormPage.cpp). Those named add... put what they
    // make at the foot of the column; the others leave that to the caller.

    // "Испытуемый:" with the read-only subject field beside it, at the top.
    QLineEdit *addSubjectField(const QString &editName, const QString &labelName = QStringLiteral("Label54"));

    QLabel *makeLabel(const QString &objectName, const QString &text, TextStyle style = TextStyle::Plain);
    QLabel *addLabel(const QString &objectName, const QString &text, TextStyle style = TextStyle::Plain);
    // The subject field, and under it the title block.
    QLineEdit *addTitleBlock(const QString &subjectName, const TitleBlock &title);
    // The window's title line, centred.
    QLabel *addHeading(const QString &objectName, const QString &text);
    // A wrapped block of text, at most maxWidth wide, centred on the page.
    QLabel *addCentredText(const QString &objectName, const QString &text, int maxWidth);

    // The pieces that make a field or a choice report its answers to the
    // item log when given the item it answers: each edit of a field and each
    // edit finished (the field left, or Enter); each click of a choice.

    // A field named by its question, which a screen reader announces.
    QLineEdit *makeField(const QString &objectName, const QString &question, int width, const LoggedAs &logged = {});
    // The question, and under it a free answer field.
    QLineEdit *addField(const QString &objectName, const QString &question);
    // The question, and under it its radio group; the label is objectName + "Question".
    RadioGroup *addQuestion(const QString &objectName, const QString &question, const QStringList &items,
                            int columns = 1);
    // A radio group alone, its question being shown above it already.
    RadioGroup *addRadioGroup(const QString &objectName, const QString &question, const QStringList &items,
                              int columns = 1, const LoggedAs &logged = {});
    // "дд", "мм" and "гггг", each before its field, into row: the fields are
    // Edit<firstEdit> to Edit<firstEdit + 2>, named question + ": день" and so on.
    DateFields addDateFields(QBoxLayout *row, int firstEdit, const QString &question, const Width::DateWidths &widths);
    // Opens a field for typing, or locks it: read-only, and drawn as
    // unavailable the way the platform's style draws it.
    static void setFieldOpen(QLineEdit *field, bool open);
    // "Ответ:" and the answer field beside it; the caller adds the rest of the row.
    QHBoxLayout *answerRow(const QString &captionName, QLineEdit *answer);
    // A picture, unscaled, described for a screen reader; the caller places it.
    static QLabel *makePicture(const QString &objectName, const QPixmap &pixmap, const QString &description);
    // A picture of the program's own, as makePicture makes it.
    QLabel *addPicture(const QString &objectName, const QString &resource, const QString &description);

    // The button that runs the window's forward handler; the caller places it.
    QPushButton *forwardButton(const QString &objectName, const QString &caption,
                               const std::function<void()> &handler = {});
    template <class W>
    QPushButton *forwardButton(const QString &objectName, const QString &caption, void (W::*handler)())
    {
        W *window = static_cast<W *>(this);
        return forwardButton(objectName, caption, [window, handler] { (window->*handler)(); });
    }

    // The forward step from this window, which has done its part: the
    // sequence of windows, told that it is accepted, opens the next one and
    // deletes this one once its handler has returned.
    void forward() { emit accepted(); }

    // Runs the forward handler's work; any failure inside shows the window's
    // catch-all message and leaves the window as it is.
    void guarded(const QString &catchAll, const std::function<void()> &work);

    // Whether the results file can hold every text as typed (its character
    // set is Windows-1251); where it cannot, tells the subject which field
    // and which characters, puts the cursor there and returns false.
    bool textsCanBeSaved(const QList<SavedText> &texts);

    // The task the window's items and events belong to in the item log;
    // "session" for a window without one.
    void setItemTask(const QString &task) { itemTask = task; }

    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void setSubject(const QString &text);
    void scrollBy(int pixels);
    void scrollSideways(int pixels);

    Session &ownSession;
    QScrollArea *scrollArea;
    QWidget *page;
    QVBoxLayout *content;
    QLineEdit *subjectField = nullptr;
    QString itemTask = QStringLiteral("session");
    QList<LoggedAs> pageItems; // presented when the window comes on screen
    bool shownBefore = false;
    int wheelDelta = 0;    // of a notch, not yet scrolled
    int sidewaysDelta = 0; // likewise, sideways
};
