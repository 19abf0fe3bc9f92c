#include "windows/Messages.h"

#include <QApplication>
#include <QMessageBox>

namespace {

std::function<void(const QString &)> &sink()
{
    static std::function<void(const QString &)> function;
    return function;
}

} // namespace

void showMessage(const QString &text)
{
    if (sink())
        return sink()(text);
    QWidget *window = QApplication::activeWindow();
    QMessageBox box(QMessageBox::NoIcon, window ? window->windowTitle() : QString(), text, QMessageBox::Ok, window);
    // The windows stay on top; the message must not hide behind them.
    box.setWindowFlag(Qt::WindowStaysOnTopHint);
    box.exec();
}

void setMessageSink(std::function<void(const QString &)> function)
{
    sink() = std::move(function);
}
