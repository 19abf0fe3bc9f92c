#include "support/WindowSupport.h"

#include "windows/Form.h"
#include "windows/Messages.h"
#include "windows/RadioGroup.h"
#include "windows/SoundPlayer.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>

namespace test {

MessageLog::MessageLog()
{
    setMessageSink([this](const QString &text) { texts << text; });
    setQuestionSink([this](const QString &text, const QStringList &given, int safe) {
        texts << text;
        return answers.isEmpty() ? safe : int(given.indexOf(answers.takeFirst()));
    });
    setFolderSink([this](const QString &) { return folders.isEmpty() ? QString() : folders.takeFirst(); });
}

MessageLog::~MessageLog()
{
    setMessageSink({});
    setQuestionSink({});
    setFolderSink({});
}

SoundLog::SoundLog()
{
    setSoundSink([this](const QString &path) {
        paths << path;
        if (!sounding.isEmpty())
            emit soundEvents().ended(std::exchange(sounding, QString()), false);
        if (outcome == Fails)
            return emit soundEvents().failed(path);
        if (outcome == Sounds)
            start();
    });
}

void SoundLog::start()
{
    sounding = paths.last();
    emit soundEvents().started(sounding);
}

void SoundLog::finish()
{
    if (!sounding.isEmpty())
        emit soundEvents().ended(std::exchange(sounding, QString()), true);
}

SoundLog::~SoundLog()
{
    setSoundSink({});
}

namespace {

// Owned by the application, so that it ends before the process's statics.
QPointer<Sequence> &current()
{
    static QPointer<Sequence> sequence;
    return sequence;
}

} // namespace

Sequence &runUnderTest()
{
    if (!current()) {
        current() = new Sequence;
        current()->setParent(qApp);
    }
    return *current();
}

Session &session()
{
    return runUnderTest().session();
}

RunRecord &record()
{
    return session().record;
}

ItemLog &items()
{
    return session().items;
}

StudySettings &settings()
{
    return session().settings;
}

void resetRun()
{
    Form::disposeAll();
    const StudySettings kept = settings();
    delete current().data();
    current() = new Sequence(kept);
    current()->setParent(qApp);
}

void typeText(QWidget *widget, const QString &text)
{
    for (const QChar ch : text)
        QTest::sendKeyEvent(QTest::Click, widget, Qt::Key(ch.toUpper().unicode()), QString(ch), Qt::NoModifier);
}

void retype(QLineEdit *edit, const QString &text)
{
    edit->selectAll();
    if (text.isEmpty())
        QTest::keyClick(edit, Qt::Key_Delete);
    else
        typeText(edit, text);
}

void clickItem(RadioGroup *group, int index)
{
    QRadioButton *item = group->item(index);
    const int middle = item->height() / 2;
    QTest::mouseClick(item, Qt::LeftButton, Qt::NoModifier, QPoint(middle, middle));
}

void click(QAbstractButton *button)
{
    QTest::mouseClick(button, Qt::LeftButton);
}

} // namespace test
