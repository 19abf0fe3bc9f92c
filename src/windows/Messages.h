#pragma once

#include <QString>
#include <functional>

// A modal message box with the text alone and one OK button.
void showMessage(const QString &text);

// Replaces the message box for the rest of the process (tests record the text
// instead of showing it); an empty function restores the message box.
void setMessageSink(std::function<void(const QString &)> sink);
