#pragma once

#include "forms/Sequence.h"
#include "support/EngineSupport.h"

class QAbstractButton;
class QLineEdit;
class QWidget;
class RadioGroup;

// Helpers of the window suites: real widgets driven by real events, and
// the window seams (messages, sound) recorded.
namespace test {

// Messages and questions the windows show, recorded instead of shown, for as
// long as it lives. Each question takes the first of `answers` (a button's
// text), else its safe answer; each folder chooser the first of `folders`,
// else it is cancelled.
class MessageLog
{
public:
    MessageLog();
    ~MessageLog();
    QStringList texts;
    QStringList answers;
    QStringList folders;
    QString last() const { return texts.isEmpty() ? QString() : texts.last(); }
};

// Sound requests, recorded instead of played, for as long as it lives. It
// plays the player's part: each request cuts short the one sounding, then
// starts sounding at once, waits for start(), or cannot sound, as `outcome`
// says; finish() plays the one sounding to its end.
class SoundLog
{
public:
    enum Outcome { Sounds, Waits, Fails };
    SoundLog();
    ~SoundLog();
    void start();
    void finish();
    QStringList paths;
    Outcome outcome = Sounds;

private:
    QString sounding;
};

// The run under test: a sequence of windows with its session, made when
// first asked for and anew by resetRun().
Sequence &runUnderTest();
Session &session();
RunRecord &record();
ItemLog &items();
StudySettings &settings();

// A new run: an empty run record, an empty item log and no windows; the
// study's settings stay as they were set.
void resetRun();

// A window of the class as the run makes it, not yet shown: its class's
// current instance, going on to the next window when accepted.
template <class Window>
Window *makeWindow()
{
    return runUnderTest().create<Window>();
}

// Types text key by key, as the subject would (Cyrillic included).
void typeText(QWidget *widget, const QString &text);

// Replaces a field's text key by key: select all, then type.
void retype(QLineEdit *edit, const QString &text);

// Clicks one item of a radio group on its indicator.
void clickItem(RadioGroup *group, int index);

// Clicks a push button with the mouse.
void click(QAbstractButton *button);

} // namespace test
