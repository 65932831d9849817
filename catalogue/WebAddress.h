#pragma once

#include <juce_core/juce_core.h>

/** The web addresses Quillon will fetch from or hand to a browser.

    Addresses come from the catalogue and from servers' redirects, so they are hostile
    input: only "http" and "https" with a host are accepted, and only the characters an
    address may hold (letters, digits and - . _ ~ : / ? # [ ] @ ! $ & ' ( ) * + , ; = %).
    Anything else (other schemes such as file, gopher or dict, blanks, quotes, control
    characters, non-ASCII text) is refused, so such an address never reaches a network
    library or a command line. Any thread.
*/
struct WebAddress
{
    /** True for an address this program may fetch or open. */
    static bool isAllowed (const juce::String& address);

    /** Where a redirect from base to location leads: location itself when it is a whole
        address, or base's scheme and host followed by location when location is an
        absolute path. Empty when the result would not be allowed.
    */
    static juce::String resolveRedirect (const juce::String& base, const juce::String& location);

    /** The host of an allowed address, without its port; an IPv6 address keeps its
        brackets. Empty for an address that is not allowed.
    */
    static juce::String hostOf (const juce::String& address);
};
