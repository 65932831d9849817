#include "catalogue/WebAddress.h"

#include <cstring>
#include <optional>

namespace
{
    const juce::String asciiLettersAndDigits ("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789");

    bool isAddressCharacter (juce::juce_wchar c)
    {
        return asciiLettersAndDigits.containsChar (c) || juce::String ("-._~:/?#[]@!$&'()*+,;=%").containsChar (c);
    }

    // The part after "scheme://", or nothing for a scheme that is not http or https.
    std::optional<juce::String> afterWebScheme (const juce::String& address)
    {
        for (const auto* scheme : { "http://", "https://" })
            if (address.startsWithIgnoreCase (scheme))
                return address.substring ((int) std::strlen (scheme));

        return std::nullopt;
    }

    juce::String authorityOf (const juce::String& afterScheme)
    {
        return afterScheme.upToFirstOccurrenceOf ("/", false, false)
            .upToFirstOccurrenceOf ("?", false, false)
            .upToFirstOccurrenceOf ("#", false, false);
    }

    juce::String hostPartOf (const juce::String& authority)
    {
        return authority.startsWithChar ('[') ? authority.upToFirstOccurrenceOf ("]", true, false)
                                              : authority.upToFirstOccurrenceOf (":", false, false);
    }

    // A host name, or an IPv6 address in brackets, optionally with a port. No user name:
    // "http://vendor.com@elsewhere/" would only hide where the address leads.
    bool isHostAndPort (const juce::String& authority)
    {
        const bool bracketed = authority.startsWithChar ('[');
        const auto host = hostPartOf (authority);
        const auto port = authority.substring (host.length());

        const bool hostIsValid = bracketed
                                   ? host.length() > 2 && host.endsWithChar (']') && host.substring (1, host.length() - 1).containsOnly ("0123456789abcdefABCDEF:.")
                                   : host.isNotEmpty() && host.containsOnly (asciiLettersAndDigits + "-._");

        const bool portIsValid = port.isEmpty()
                              || (port.length() >= 2 && port.length() <= 6 && port.startsWithChar (':') && port.substring (1).containsOnly ("0123456789"));

        return hostIsValid && portIsValid;
    }
}

bool WebAddress::isAllowed (const juce::String& address)
{
    for (auto p = address.getCharPointer(); ! p.isEmpty(); ++p)
        if (! isAddressCharacter (*p))
            return false;

    const auto rest = afterWebScheme (address);
    return rest.has_value() && isHostAndPort (authorityOf (*rest));
}

juce::String WebAddress::resolveRedirect (const juce::String& base, const juce::String& location)
{
    const auto trimmed = location.trim();
    auto resolved = trimmed;

    // An absolute path on the same server; "//host/path" would name another server
    // without a scheme, and relative paths are not worth the ambiguity.
    if (trimmed.startsWithChar ('/') && ! trimmed.startsWith ("//"))
        if (const auto rest = afterWebScheme (base))
            resolved = base.substring (0, base.length() - rest->length()) + authorityOf (*rest) + trimmed;

    return isAllowed (resolved) ? resolved : juce::String();
}

juce::String WebAddress::hostOf (const juce::String& address)
{
    if (! isAllowed (address))
        return {};

    return hostPartOf (authorityOf (*afterWebScheme (address)));
}
