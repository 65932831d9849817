#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include "wizard/pages/BrowserLauncher.h"

/** The "View release notes" link: shown only for an address the browser may be given,
    and opened through BrowserLauncher. The button's own URL stays empty, so JUCE's
    launcher, which hands the address to a shell on Linux, never sees it. When no
    browser can be started, a message box says so and offers the address to copy.
    Message thread.
*/
class ReleaseNotesLink : public juce::HyperlinkButton
{
public:
    ReleaseNotesLink();

    /** Shows the link for address, or hides it when the address is empty or not an
        http or https address with a host.
    */
    void showAddress (const juce::String& address);

    /** The address a click opens; empty while the link is hidden. */
    const juce::String& getAddress() const noexcept { return address; }

    /** JUCE's link, with an outline while it has the keyboard focus. */
    void paintButton (juce::Graphics&, bool shouldDrawButtonAsHighlighted, bool shouldDrawButtonAsDown) override;

private:
    void showCannotOpen (const juce::String& addressNotOpened);

    juce::String address;

    // The message box shown after a failure, dismissed asynchronously (no modal loop);
    // declared before the launcher, whose failures it shows, so that it outlives it.
    std::unique_ptr<juce::AlertWindow> cannotOpenBox;
    BrowserLauncher browser;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (ReleaseNotesLink)
};
