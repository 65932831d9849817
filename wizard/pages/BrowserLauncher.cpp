#include "wizard/pages/BrowserLauncher.h"

#include "catalogue/WebAddress.h"

#if JUCE_LINUX
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

namespace
{
    // Starts command, found on the PATH, without a shell: in a session of its own, so
    // that a Ctrl-C meant for the program does not close the browser, with its output
    // kept off the program's terminal and none of the program's files or sockets open.
    // The process ID, or 0 when it could not be started.
    pid_t spawnDetached (const juce::StringArray& command)
    {
        std::vector<char*> arguments;

        for (const auto& argument : command)
            arguments.push_back (const_cast<char*> (argument.toRawUTF8()));

        arguments.push_back (nullptr);

        posix_spawn_file_actions_t files;
        posix_spawn_file_actions_init (&files);
        posix_spawn_file_actions_addopen (&files, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
        posix_spawn_file_actions_addopen (&files, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
        posix_spawn_file_actions_addopen (&files, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
        posix_spawn_file_actions_addclosefrom_np (&files, STDERR_FILENO + 1);

        sigset_t noSignals;
        sigemptyset (&noSignals);
        sigset_t allSignals;
        sigfillset (&allSignals);

        posix_spawnattr_t attributes;
        posix_spawnattr_init (&attributes);
        posix_spawnattr_setflags (&attributes, POSIX_SPAWN_SETSID | POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
        posix_spawnattr_setsigmask (&attributes, &noSignals);
        posix_spawnattr_setsigdefault (&attributes, &allSignals);

        pid_t processId = 0;
        const auto result = posix_spawnp (&processId, arguments[0], &files, &attributes, arguments.data(), environ);

        posix_spawnattr_destroy (&attributes);
        posix_spawn_file_actions_destroy (&files);

        return result == 0 ? processId : 0;
    }
}
#endif

BrowserLauncher::~BrowserLauncher()
{
    // Whoever listens may be going too; the launchers are only reaped.
    onFailure = nullptr;
    watchLaunches();
}

void BrowserLauncher::open (const juce::String& address)
{
    if (! WebAddress::isAllowed (address))
        return;

#if JUCE_LINUX
    const auto processId = spawnDetached (linuxCommandFor (address));

    if (processId == 0)
    {
        failed (address);
        return;
    }

    launches.push_back ({ processId, address, juce::Time::getMillisecondCounter() });
    startTimer (pollWhileMayFailMs);
#else
    if (! juce::URL (address).launchInDefaultBrowser())
        failed (address);
#endif
}

juce::StringArray BrowserLauncher::linuxCommandFor (const juce::String& address)
{
    return { "xdg-open", address };
}

void BrowserLauncher::timerCallback()
{
    watchLaunches();

    if (launches.empty())
        stopTimer();
    else if (! anyMayStillFail())
        startTimer (pollBrowserMs);
}

bool BrowserLauncher::mayStillFail (const Launch& launch)
{
    return juce::Time::getMillisecondCounter() - launch.startedMs < failureWindowMs;
}

bool BrowserLauncher::anyMayStillFail() const
{
    for (const auto& launch : launches)
        if (mayStillFail (launch))
            return true;

    return false;
}

// Reaps the launchers that have ended, and reports those that gave up.
void BrowserLauncher::watchLaunches()
{
#if JUCE_LINUX
    juce::StringArray failures;

    for (auto launch = launches.begin(); launch != launches.end();)
    {
        int status = 0;
        const auto ended = waitpid (launch->processId, &status, WNOHANG);

        if (ended == 0)
        {
            ++launch;
            continue;
        }

        // -1: reaped by someone else, its outcome unknown.
        const bool succeeded = WIFEXITED (status) && WEXITSTATUS (status) == 0;

        if (ended == launch->processId && ! succeeded && mayStillFail (*launch))
            failures.add (launch->address);

        launch = launches.erase (launch);
    }

    for (const auto& address : failures)
        failed (address);
#endif
}

void BrowserLauncher::failed (const juce::String& address)
{
    if (onFailure != nullptr)
        onFailure (address);
}
