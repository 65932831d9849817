#include "tests/support/ServiceThatMustNotBeReached.h"

#include <gtest/gtest.h>

ServiceThatMustNotBeReached::ServiceThatMustNotBeReached()
{
    EXPECT_TRUE (socket.createListener (0, "127.0.0.1"));
}

juce::String ServiceThatMustNotBeReached::address (const juce::String& scheme, const juce::String& path) const
{
    return scheme + "://127.0.0.1:" + juce::String (socket.getBoundPort()) + path;
}

// A connection completes in the listener's backlog even though nobody accepts it.
bool ServiceThatMustNotBeReached::wasReached()
{
    return socket.waitUntilReady (true, 0) == 1;
}
