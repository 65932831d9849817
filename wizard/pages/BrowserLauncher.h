#pragma once

#include <memory>
#include <vector>
#include <juce_core/juce_core.h>

/** Opens a web address in the user's browser.

    The address comes from the catalogue, so it is hostile: only an address that
    WebAddress allows is opened, and on Linux the browser is started as "xdg-open" with
    the address as its one argument, without a shell (JUCE's own launcher there builds
    a command line for /bin/sh, where "$(...)", backticks or a quote in the address
    would run commands). Message thread.
*/
class BrowserLauncher
{
public:
    BrowserLauncher() = default;

    /** Starts the browser on address; false when the address is not allowed or no
        browser could be started.
    */
    bool open (const juce::String& address);

    /** The command that opens address on Linux, one argument per item. */
    static juce::StringArray linuxCommandFor (const juce::String& address);

private:
    // Started launchers, so that those that have ended can be reaped instead of being
    // left as zombies; a launcher still running when this goes is left to itself.
    std::vector<std::unique_ptr<juce::ChildProcess>> launchers;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (BrowserLauncher)
};
