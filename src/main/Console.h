#pragma once

#include <QString>

// Text for the person who started the program: its version, its usage, why
// it cannot start.
enum class Channel { Output, Error };

// Prints the text on standard output (UTF-8) or the error output (the
// system's 8-bit code page). A windowed program under Windows started from
// a console (cmd, PowerShell) has neither: it attaches to the console of the
// program that started it and writes there as text, Cyrillic included,
// whatever the console's code page. Output redirected into a file or a pipe
// gets the bytes as everywhere else. Returns false when the text reached
// nobody: a program started by a double-click has no console at all.
bool printText(Channel channel, const QString &text);

// Prints the answer to an option on standard output as above; where it
// reaches nobody, shows it in a message box instead.
void answer(const QString &text);
