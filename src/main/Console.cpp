#include "main/Console.h"

#include <cstdio>
#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace {

#ifdef Q_OS_WIN
// The console a windowed program was started from, opened once; nullptr
// when it was started without one.
HANDLE parentConsole()
{
    static const HANDLE console = [] {
        if (!AttachConsole(ATTACH_PARENT_PROCESS))
            return HANDLE(nullptr);
        const HANDLE handle = CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                          nullptr, OPEN_EXISTING, 0, nullptr);
        if (handle == INVALID_HANDLE_VALUE)
            return HANDLE(nullptr);
        // The console has already shown its next prompt: start on a line of our own.
        DWORD written = 0;
        WriteConsoleW(handle, L"\r\n", 2, &written, nullptr);
        return handle;
    }();
    return console;
}

// The console the text goes to as text: the standard handle when it is a
// console, else the console of the parent when the program has no usable
// standard handle. nullptr, with `redirected` set, for a file or a pipe;
// nullptr alone when there is no console either.
HANDLE consoleFor(Channel channel, bool &redirected)
{
    const HANDLE standard = GetStdHandle(channel == Channel::Output ? STD_OUTPUT_HANDLE : STD_ERROR_HANDLE);
    const DWORD type = standard && standard != INVALID_HANDLE_VALUE ? GetFileType(standard) : FILE_TYPE_UNKNOWN;
    DWORD mode = 0;
    if (type == FILE_TYPE_CHAR && GetConsoleMode(standard, &mode))
        return standard;
    redirected = type != FILE_TYPE_UNKNOWN;
    return redirected ? nullptr : parentConsole();
}
#endif

} // namespace

bool printText(Channel channel, const QString &text)
{
#ifdef Q_OS_WIN
    bool redirected = false;
    if (const HANDLE console = consoleFor(channel, redirected)) {
        const QString lines = QString(text).replace(u'\n', QStringLiteral("\r\n"));
        DWORD written = 0;
        return WriteConsoleW(console, lines.utf16(), DWORD(lines.size()), &written, nullptr);
    }
    if (!redirected)
        return false;
#endif
    std::FILE *stream = channel == Channel::Output ? stdout : stderr;
    const QByteArray bytes = channel == Channel::Output ? text.toUtf8() : text.toLocal8Bit();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream);
    std::fflush(stream);
    return true;
}

void answer(const QString &text)
{
    if (printText(Channel::Output, text))
        return;
#ifdef Q_OS_WIN
    MessageBoxW(nullptr, reinterpret_cast<const wchar_t *>(text.trimmed().utf16()), L"cogbattery", MB_OK | MB_ICONINFORMATION);
#endif
}
