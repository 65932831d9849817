#pragma once

#include <functional>
#include <vector>
#include <juce_events/juce_events.h>

/** Opens a web address in the user's browser, and tells when it cannot.

    The address comes from the catalogue, so it is hostile: only an address that
    WebAddress allows is opened, and on Linux the browser is started as "xdg-open" with
    the address as its one argument, without a shell (JUCE's own launcher there builds
    a command line for /bin/sh, where "$(...)", backticks or a quote in the address
    would run commands, and never waits for that shell, which stays behind as a
    zombie). Every launcher that ends while this object lives is reaped; one still
    running when it goes is left to itself. Message thread.
*/
class BrowserLauncher : private juce::Timer
{
public:
    BrowserLauncher() = default;
    ~BrowserLauncher() override;

    /** Called on the message thread with the address when no browser could be started
        for it: the launcher is missing, or it gave up within failureWindowMs.
    */
    std::function<void (const juce::String& address)> onFailure;

    /** Starts the browser on address, unless the address is not allowed; a failure to
        start it goes to onFailure, at once or once the launcher has given up.
    */
    void open (const juce::String& address);

    /** The command that opens address on Linux, one argument per item. */
    static juce::StringArray linuxCommandFor (const juce::String& address);

    /** A launcher that ends in failure later than this after its start has found the
        browser (a generic launcher waits for the browser it ran, whose exit code says
        nothing about the start); it is reaped without a word.
    */
    static constexpr juce::uint32 failureWindowMs = 10000;

private:
    struct Launch
    {
        int processId;
        juce::String address;
        juce::uint32 startedMs;
    };

    // How often ended launchers are looked for: soon after a start, a failure is shown
    // quickly; later, a launcher waiting for its browser is only to be reaped.
    static constexpr int pollWhileMayFailMs = 100;
    static constexpr int pollBrowserMs = 2000;

    void timerCallback() override;
    static bool mayStillFail (const Launch&);
    bool anyMayStillFail() const;
    void watchLaunches();
    void failed (const juce::String& address);

    std::vector<Launch> launches;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (BrowserLauncher)
};
