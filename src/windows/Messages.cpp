#include "windows/Messages.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTranslator>

// Outside any namespace, as Q_INIT_RESOURCE requires: a static library
// registers its resources itself.
static void registerTranslations()
{
    Q_INIT_RESOURCE(translations);
}

namespace {

template <class Function>
Function &sink()
{
    static Function function;
    return function;
}

using MessageSink = std::function<void(const QString &)>;
using QuestionSink = std::function<int(const QString &, const QStringList &, int)>;
using FolderSink = std::function<QString(const QString &)>;

std::function<void(const QString &)> &witness()
{
    static std::function<void(const QString &)> function;
    return function;
}

void witnessed(const QString &text)
{
    if (witness())
        witness()(text);
}

// The windows stay on top; a message must not hide behind them.
void keepOnTop(QMessageBox &box)
{
    box.setWindowFlag(Qt::WindowStaysOnTopHint);
}

} // namespace

void useQtRussianTexts()
{
    registerTranslations();
    auto *translator = new QTranslator(QCoreApplication::instance());
    if (translator->load(QStringLiteral(":/translations/qtbase_ru.qm")))
        QCoreApplication::installTranslator(translator);
}

QString messageTitle()
{
    return QStringLiteral("Психологическое тестирование");
}

void showMessage(const QString &text)
{
    witnessed(text);
    if (sink<MessageSink>())
        return sink<MessageSink>()(text);
    QMessageBox box(QMessageBox::NoIcon, messageTitle(), text, QMessageBox::Ok, QApplication::activeWindow());
    // Qt's Russian translation leaves "OK" in Latin letters.
    box.button(QMessageBox::Ok)->setText(QStringLiteral("ОК"));
    keepOnTop(box);
    box.exec();
}

int askMessage(const QString &text, const QStringList &answers, int safe)
{
    witnessed(text);
    if (sink<QuestionSink>())
        return sink<QuestionSink>()(text, answers, safe);
    QMessageBox box(QMessageBox::NoIcon, messageTitle(), text, QMessageBox::NoButton, QApplication::activeWindow());
    keepOnTop(box);
    QList<QPushButton *> buttons;
    for (const QString &answer : answers)
        buttons << box.addButton(answer, QMessageBox::ActionRole);
    box.setDefaultButton(buttons[safe]);
    box.setEscapeButton(buttons[safe]);
    box.exec();
    const auto given = buttons.indexOf(box.clickedButton());
    return given < 0 ? safe : int(given);
}

QString chooseFolder(const QString &caption)
{
    if (sink<FolderSink>())
        return sink<FolderSink>()(caption);
    return QFileDialog::getExistingDirectory(QApplication::activeWindow(), caption);
}

void setMessageSink(MessageSink function)
{
    sink<MessageSink>() = std::move(function);
}

void setQuestionSink(QuestionSink function)
{
    sink<QuestionSink>() = std::move(function);
}

void setFolderSink(FolderSink function)
{
    sink<FolderSink>() = std::move(function);
}

void setMessageWitness(std::function<void(const QString &)> function)
{
    witness() = std::move(function);
}
