#include "wizard/pages/BrowserLauncher.h"

#include <algorithm>

#include "catalogue/WebAddress.h"

bool BrowserLauncher::open (const juce::String& address)
{
    if (! WebAddress::isAllowed (address))
        return false;

#if JUCE_LINUX
    // Asking whether a launcher runs reaps it once it has ended.
    launchers.erase (std::remove_if (launchers.begin(), launchers.end(),
                                     [] (const auto& launcher) { return ! launcher->isRunning(); }),
                     launchers.end());

    auto launcher = std::make_unique<juce::ChildProcess>();

    if (! launcher->start (linuxCommandFor (address), 0))
        return false;

    launchers.push_back (std::move (launcher));
    return true;
#else
    return juce::URL (address).launchInDefaultBrowser();
#endif
}

juce::StringArray BrowserLauncher::linuxCommandFor (const juce::String& address)
{
    return { "xdg-open", address };
}
