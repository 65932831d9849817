#pragma once

#include <functional>
#include <optional>
#include <juce_core/juce_core.h>

/** Tells the public internet from the user's own networks, so that a server out there
    cannot send a download to a service that only the user's computer can reach: the
    computer itself (loopback), its link (link-local), private and carrier-grade NAT
    ranges, "this network" (0/8), multicast and reserved ranges, and the IPv6 forms of
    all these (IPv4-mapped, IPv4-compatible, 6to4 and NAT64 addresses count as the IPv4
    address they carry).

    Any thread; resolving a name waits on the calling thread.
*/
struct PublicAddress
{
    enum class Reach
    {
        internet,       // every address of the host is public
        usersNetwork,   // at least one is not
        unknown         // the name did not resolve, in time or at all
    };

    /** Where host, a numeric address in any spelling the network library takes
        ("2130706433", "0x7f.1", "127.1", "::ffff:127.0.0.1", with or without brackets),
        leads. Nothing when host is no numeric address.
    */
    static std::optional<Reach> reachOfNumeric (const juce::String& host);

    /** Where host leads: a numeric address by reachOfNumeric, "localhost" and names
        under it to the user's network, any other name by every address it resolves to.
        Resolving takes at most resolveTimeLimitMs, and ends early once shouldStop
        (asked every pollIntervalMs, may be null) answers true; either gives unknown.
    */
    static Reach reachOfHost (const juce::String& host, const std::function<bool()>& shouldStop);

    /** reachOfHost for the host of a web address; unknown for an address that is not allowed. */
    static Reach reachOf (const juce::String& address, const std::function<bool()>& shouldStop);

    static constexpr int resolveTimeLimitMs = 10000;
    static constexpr int pollIntervalMs = 50;
};
