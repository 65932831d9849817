#pragma once

#include <juce_core/juce_core.h>

/** A TCP port on 127.0.0.1 that accepts nothing but tells whether anyone connected,
    standing in for a service (a key-value store, a mail server) that a download must
    never reach.
*/
class ServiceThatMustNotBeReached
{
public:
    ServiceThatMustNotBeReached();

    /** A path that such a service would read as commands if a request reached it. */
    static constexpr const char* commandsPath = "/_SET%20owned%201%0D%0AQUIT%0D%0A";

    juce::String address (const juce::String& scheme, const juce::String& path = commandsPath) const;

    bool wasReached();

private:
    juce::StreamingSocket socket;
};
