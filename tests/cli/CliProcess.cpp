#include "tests/cli/CliProcess.h"

#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace
{
    juce::File executable (const char* program)
    {
        return juce::File::getSpecialLocation (juce::File::currentExecutableFile).getSiblingFile (program);
    }

    bool isPastDeadline (juce::uint32 deadline)
    {
        return juce::Time::getMillisecondCounter() >= deadline;
    }
}

CliProcess::CliProcess (const juce::StringArray& arguments, Input input, Output outputTo, const char* program,
                        TerminalSize size)
{
    int outputEnds[2] = { -1, -1 };
    int errorEnds[2] = { -1, -1 };

    if (pipe (outputEnds) != 0 || pipe (errorEnds) != 0)
        return;

    juce::String inputPath ("/dev/null");
    juce::String terminalPath;

    if (input == Input::terminal || outputTo == Output::terminal)
    {
        terminal = posix_openpt (O_RDWR | O_NOCTTY);

        if (terminal < 0 || grantpt (terminal) != 0 || unlockpt (terminal) != 0)
            return;

        terminalPath = ptsname (terminal);
        const winsize windowSize { size.rows, size.columns, 0, 0 };
        ioctl (terminal, TIOCSWINSZ, &windowSize);
    }

    if (input == Input::terminal)
        inputPath = terminalPath;

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init (&actions);
    posix_spawn_file_actions_addopen (&actions, STDIN_FILENO, inputPath.toRawUTF8(), O_RDWR | O_NOCTTY, 0);

    if (outputTo == Output::terminal)
        posix_spawn_file_actions_addopen (&actions, STDOUT_FILENO, terminalPath.toRawUTF8(), O_RDWR | O_NOCTTY, 0);
    else
        posix_spawn_file_actions_adddup2 (&actions, outputEnds[1], STDOUT_FILENO);

    posix_spawn_file_actions_adddup2 (&actions, errorEnds[1], STDERR_FILENO);

    for (const auto end : { outputEnds[0], outputEnds[1], errorEnds[0], errorEnds[1] })
        posix_spawn_file_actions_addclose (&actions, end);

    juce::StringArray words (executable (program).getFullPathName());
    words.addArray (arguments);
    std::vector<char*> argv;

    for (auto& word : words)
        argv.push_back (const_cast<char*> (word.toRawUTF8()));

    argv.push_back (nullptr);

    // Signals as a shell leaves them: none blocked, and SIGPIPE not ignored as this test
    // program has it, so that the client meets a pipe whose reader has gone as it would.
    posix_spawnattr_t attributes;
    posix_spawnattr_init (&attributes);
    sigset_t signals;
    sigemptyset (&signals);
    posix_spawnattr_setsigmask (&attributes, &signals);
    sigaddset (&signals, SIGPIPE);
    posix_spawnattr_setsigdefault (&attributes, &signals);
    posix_spawnattr_setflags (&attributes, POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSIGMASK);

    if (posix_spawn (&pid, argv[0], &actions, &attributes, argv.data(), environ) != 0)
        pid = -1;

    posix_spawnattr_destroy (&attributes);
    posix_spawn_file_actions_destroy (&actions);
    close (outputEnds[1]);
    close (errorEnds[1]);
    errorPipe = errorEnds[0];

    // What is drawn on the terminal is read from its other side, which reports an error
    // once the process and its side have gone.
    if (outputTo == Output::terminal)
    {
        close (outputEnds[0]);
        outputPipe = dup (terminal);
    }
    else
    {
        outputPipe = outputEnds[0];
    }
}

CliProcess::~CliProcess()
{
    if (pid > 0 && ! exitCode.has_value())
    {
        kill (pid, SIGKILL);
        waitpid (pid, nullptr, 0);
    }

    for (const auto end : { outputPipe, errorPipe, terminal })
        if (end >= 0)
            close (end);
}

void CliProcess::typeLine (const juce::String& text)
{
    jassert (terminal >= 0);
    const auto line = text + "\n";
    [[maybe_unused]] const auto written = write (terminal, line.toRawUTF8(), line.getNumBytesAsUTF8());
}

bool CliProcess::readSome (int waitMs)
{
    pollfd ends[] = { { outputPipe, POLLIN, 0 }, { errorPipe, POLLIN, 0 } };
    juce::MemoryOutputStream* streams[] = { &output, &errors };

    if (poll (ends, 2, waitMs) < 0)
        return true;

    bool open = false;

    for (int i = 0; i < 2; ++i)
    {
        if (ends[i].fd < 0)
            continue;

        if ((ends[i].revents & (POLLIN | POLLHUP)) == 0)
        {
            open = true;
            continue;
        }

        char buffer[4096];
        const auto count = read (ends[i].fd, buffer, sizeof (buffer));

        if (count > 0)
        {
            streams[i]->write (buffer, (size_t) count);
            open = true;
        }
        else
        {
            close (ends[i].fd);
            (i == 0 ? outputPipe : errorPipe) = -1;
        }
    }

    return open;
}

bool CliProcess::waitForOutput (const juce::String& text, int timeoutMs)
{
    const auto deadline = juce::Time::getMillisecondCounter() + (juce::uint32) timeoutMs;

    while (! getOutput().contains (text))
        if (isPastDeadline (deadline) || (outputPipe < 0 && errorPipe < 0) || ! readSome (50))
            return getOutput().contains (text);

    return true;
}

void CliProcess::interrupt (int signal)
{
    if (pid > 0)
        kill (pid, signal);
}

std::optional<int> CliProcess::waitForExit (int timeoutMs)
{
    const auto deadline = juce::Time::getMillisecondCounter() + (juce::uint32) timeoutMs;

    while ((outputPipe >= 0 || errorPipe >= 0) && ! isPastDeadline (deadline))
        readSome (50);

    while (pid > 0 && ! exitCode.has_value() && ! isPastDeadline (deadline))
    {
        int status = 0;

        if (waitpid (pid, &status, WNOHANG) == pid)
            exitCode = WIFEXITED (status) ? WEXITSTATUS (status) : -1;
        else
            juce::Thread::sleep (10);
    }

    if (exitCode == -1)
        return std::nullopt;

    return exitCode;
}

juce::String CliProcess::getOutput() const
{
    return output.toUTF8();
}

juce::String CliProcess::getErrors() const
{
    return errors.toUTF8();
}

CliProcess::Result CliProcess::run (const juce::StringArray& arguments, int timeoutMs, Output outputTo,
                                    const char* program, TerminalSize size)
{
    CliProcess process (arguments, Input::empty, outputTo, program, size);
    const auto code = process.waitForExit (timeoutMs);
    return { code.value_or (-1), process.getOutput(), process.getErrors() };
}
