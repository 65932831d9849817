#include "cli/Terminal.h"

#include <juce_core/juce_core.h>

#if JUCE_WINDOWS
 #include <cstdio>
 #include <cstdlib>
 #include <io.h>
 #include <windows.h>
#else
 #include <cerrno>
 #include <poll.h>
 #include <sys/ioctl.h>
 #include <unistd.h>
#endif

#if JUCE_WINDOWS

namespace
{
    bool virtualTerminalOutput = false;

    // The console outlives the program: the shell that started it gets its settings back.
    UINT originalCodePage = 0;
    DWORD originalMode = 0;
    bool hasOriginalMode = false;

    void restoreConsole()
    {
        if (originalCodePage != 0)
            SetConsoleOutputCP (originalCodePage);

        if (hasOriginalMode)
            SetConsoleMode (GetStdHandle (STD_OUTPUT_HANDLE), originalMode);
    }
}

void Terminal::prepare()
{
    originalCodePage = GetConsoleOutputCP();
    SetConsoleOutputCP (CP_UTF8);

    const auto output = GetStdHandle (STD_OUTPUT_HANDLE);
    hasOriginalMode = GetConsoleMode (output, &originalMode) != 0;

    // A console older than Windows 10 does not take escape sequences; the output is
    // then written plainly, as to a file.
    virtualTerminalOutput = hasOriginalMode
                            && SetConsoleMode (output, originalMode | ENABLE_VIRTUAL_TERMINAL_PROCESSING) != 0;
    std::atexit (restoreConsole);
}

bool Terminal::inputIsTerminal()
{
    return _isatty (_fileno (stdin)) != 0;
}

bool Terminal::outputIsTerminal()
{
    return virtualTerminalOutput && _isatty (_fileno (stdout)) != 0;
}

std::optional<Terminal::Size> Terminal::outputSize()
{
    CONSOLE_SCREEN_BUFFER_INFO info;

    if (! outputIsTerminal() || GetConsoleScreenBufferInfo (GetStdHandle (STD_OUTPUT_HANDLE), &info) == 0)
        return std::nullopt;

    return Size { info.srWindow.Right - info.srWindow.Left + 1, info.srWindow.Bottom - info.srWindow.Top + 1 };
}

bool Terminal::waitForInput (int waitMs)
{
    // A console's handle is signalled by any input event; the read that follows then
    // waits for the end of the line, which Ctrl-C also ends.
    return WaitForSingleObject (GetStdHandle (STD_INPUT_HANDLE), (DWORD) waitMs) == WAIT_OBJECT_0;
}

int Terminal::readByte()
{
    unsigned char c = 0;
    return _read (_fileno (stdin), &c, 1) == 1 ? c : -1;
}

#else

void Terminal::prepare()
{
}

bool Terminal::inputIsTerminal()
{
    return isatty (STDIN_FILENO) != 0;
}

bool Terminal::outputIsTerminal()
{
    return isatty (STDOUT_FILENO) != 0;
}

// A terminal that does not know its size (a serial line, a fresh pseudo-terminal)
// says 0 by 0.
std::optional<Terminal::Size> Terminal::outputSize()
{
    winsize size {};

    if (ioctl (STDOUT_FILENO, TIOCGWINSZ, &size) != 0 || size.ws_col == 0 || size.ws_row == 0)
        return std::nullopt;

    return Size { size.ws_col, size.ws_row };
}

bool Terminal::waitForInput (int waitMs)
{
    pollfd input { STDIN_FILENO, POLLIN, 0 };
    const auto ready = poll (&input, 1, waitMs);

    // An error other than a signal ends the input: the read that follows reports it.
    return ready > 0 || (ready < 0 && errno != EINTR);
}

int Terminal::readByte()
{
    unsigned char c = 0;
    return read (STDIN_FILENO, &c, 1) == 1 ? c : -1;
}

#endif
