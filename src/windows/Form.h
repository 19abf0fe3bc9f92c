#pragma once

#include "engine/RunRecord.h"

#include <QPointer>
#include <QWidget>
#include <functional>

class QLabel;
class QLineEdit;
class QScrollArea;
class QVBoxLayout;

// The current instance of each window class: the one its last forward step created.
template <class T>
inline QPointer<T> currentInstance;

enum class TextStyle { Plain, Question, Heading, Hint };

// What every window of the battery shares: maximised, on top, only the system
// menu and minimise, white, scrolling 10 pixels per wheel notch, the subject
// label, the guarded forward handler and the forward step.
class Form : public QWidget
{
    Q_OBJECT
public:
    explicit Form(const QString &caption, QWidget *owner = nullptr);
    ~Form() override;

    // Shows the window maximised and active.
    void present();

    void FormMouseWheelDown();
    void FormMouseWheelUp();

    // The subject's surname, one blank and the name, as typed.
    static QString subjectText();

    // The forward step: create the next window, owned by the application, as
    // its class's current instance; write the subject into its field; hide
    // this window for good; run beforeShow; show the next one.
    template <class T>
    T *forwardTo(const std::function<void(T *)> &beforeShow = {})
    {
        auto *next = new T;
        currentInstance<T> = next;
        next->setSubject(subjectText());
        retire();
        if (beforeShow)
            beforeShow(next);
        next->present();
        return next;
    }

    // Closes every window created so far, which ends the program.
    static void closeAll();

    // Deletes every window created so far; the program does this on exit.
    static void disposeAll();

    // The questions are set in Times New Roman; the program makes the plain
    // style its default font, so that no other font need be loaded.
    static QFont textFont(TextStyle style);

protected:
    // The column the window lays its content into.
    QVBoxLayout *body() const { return content; }
    QScrollArea *scroller() const { return scrollArea; }

    // "Испытуемый:" with the read-only subject field beside it, at the top.
    QLineEdit *addSubjectField(const QString &editName, const QString &labelName = QStringLiteral("Label54"));

    QLabel *makeLabel(const QString &objectName, const QString &text, TextStyle style = TextStyle::Plain);

    // A wrapped block of text, at most maxWidth wide, centred on the page.
    QLabel *addCentredText(const QString &objectName, const QString &text, int maxWidth);

    // Runs the forward handler's work; any failure inside shows the window's
    // catch-all message and leaves the window as it is.
    void guarded(const QString &catchAll, const std::function<void()> &work);

    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void setSubject(const QString &text);
    void retire();
    void scrollBy(int pixels);

    QScrollArea *scrollArea;
    QWidget *page;
    QVBoxLayout *content;
    QLineEdit *subjectField = nullptr;
    int wheelDelta = 0;
};
