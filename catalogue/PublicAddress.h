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
    /** Whether host, a numeric address in any spelling the network library takes
        ("2130706433", "0x7f.1", "127.1", "::ffff:127.0.0.1", with or without brackets),
        is public. Nothing when host is no numeric address.
    */
    static std::optional<bool> classifyNumeric (const juce::String& host);

    /** True when host is public: a numeric address by classifyNumeric, a name by every
        address it resolves to. "localhost" and names under it, a name that does not
        resolve within resolveTimeLimitMs, and one whose resolution shouldStop (asked
        every pollIntervalMs, may be null) ends, are not.
    */
    static bool isPublicHost (const juce::String& host, const std::function<bool()>& shouldStop);

    /** isPublicHost for the host of a web address. */
    static bool isPublicWebAddress (const juce::String& address, const std::function<bool()>& shouldStop);

    static constexpr int resolveTimeLimitMs = 10000;
    static constexpr int pollIntervalMs = 50;
};
