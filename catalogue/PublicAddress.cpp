#include "catalogue/PublicAddress.h"

#include <array>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <memory>
#include <mutex>
#include <thread>

#if JUCE_WINDOWS
 #include <winsock2.h>
 #include <ws2tcpip.h>
#else
 #include <netdb.h>
 #include <netinet/in.h>
 #include <sys/socket.h>
#endif

#include "catalogue/WebAddress.h"

namespace
{
    using Bytes16 = std::array<juce::uint8, 16>;

    bool isPublicIPv4 (const juce::uint8* a)
    {
        return ! (a[0] == 0                                   // "this network"
                  || a[0] == 10                               // private
                  || a[0] == 127                              // loopback
                  || (a[0] == 100 && (a[1] & 0xc0) == 64)     // carrier-grade NAT
                  || (a[0] == 169 && a[1] == 254)             // link-local
                  || (a[0] == 172 && (a[1] & 0xf0) == 16)     // private
                  || (a[0] == 192 && a[1] == 168)             // private
                  || a[0] >= 224);                            // multicast, reserved, broadcast
    }

    bool startsWith (const Bytes16& a, std::initializer_list<juce::uint8> prefix)
    {
        return std::equal (prefix.begin(), prefix.end(), a.begin());
    }

    bool isPublicIPv6 (const Bytes16& a)
    {
        static constexpr juce::uint8 zeros[12] = {};
        const bool firstTwelveZero = std::memcmp (a.data(), zeros, 12) == 0;

        if (firstTwelveZero)                                           // ::, ::1, and ::a.b.c.d
            return (a[12] != 0 || a[13] != 0) && isPublicIPv4 (a.data() + 12);

        if (std::memcmp (a.data(), zeros, 10) == 0 && a[10] == 0xff && a[11] == 0xff)
            return isPublicIPv4 (a.data() + 12);                       // ::ffff:a.b.c.d

        if (startsWith (a, { 0x00, 0x64, 0xff, 0x9b, 0, 0, 0, 0, 0, 0, 0, 0 }))
            return isPublicIPv4 (a.data() + 12);                       // NAT64

        if (startsWith (a, { 0x20, 0x02 }))
            return isPublicIPv4 (a.data() + 2);                        // 6to4

        return ! ((a[0] & 0xfe) == 0xfc                                // unique local
                  || (a[0] == 0xfe && (a[1] & 0x80) == 0x80)           // link-local and site-local
                  || a[0] == 0xff);                                    // multicast
    }

    bool isPublicSocketAddress (const sockaddr* address)
    {
        if (address->sa_family == AF_INET)
            return isPublicIPv4 (reinterpret_cast<const juce::uint8*> (&reinterpret_cast<const sockaddr_in*> (address)->sin_addr));

        if (address->sa_family == AF_INET6)
        {
            Bytes16 bytes;
            std::memcpy (bytes.data(), &reinterpret_cast<const sockaddr_in6*> (address)->sin6_addr, bytes.size());
            return isPublicIPv6 (bytes);
        }

        return false;
    }

    struct AddressInfoDeleter
    {
        void operator() (addrinfo* info) const noexcept { freeaddrinfo (info); }
    };

    using Reach = PublicAddress::Reach;

    std::optional<Reach> lookUp (const juce::String& host, int flags)
    {
       #if JUCE_WINDOWS
        // The system's network library may not have been started by anything else yet.
        static const bool started = [] { WSADATA data; return WSAStartup (MAKEWORD (2, 2), &data) == 0; }();

        if (! started)
            return std::nullopt;
       #endif

        addrinfo hints {};
        hints.ai_family = AF_UNSPEC;
        hints.ai_socktype = SOCK_STREAM;
        hints.ai_flags = flags;
        addrinfo* found = nullptr;

        if (getaddrinfo (host.toRawUTF8(), nullptr, &hints, &found) != 0 || found == nullptr)
            return std::nullopt;

        const std::unique_ptr<addrinfo, AddressInfoDeleter> owner (found);

        for (auto* info = found; info != nullptr; info = info->ai_next)
            if (! isPublicSocketAddress (info->ai_addr))
                return Reach::usersNetwork;

        return Reach::internet;
    }

    // The name without brackets around an IPv6 address or one trailing dot, which the
    // network library would drop as well.
    juce::String bareHost (const juce::String& host)
    {
        auto bare = host.startsWithChar ('[') && host.endsWithChar (']') ? host.substring (1, host.length() - 1) : host;
        return bare.endsWithChar ('.') ? bare.dropLastCharacters (1) : bare;
    }

    // Shared by the waiting thread and the resolver's, which may outlive the wait.
    struct Resolution
    {
        std::mutex lock;               // guards the members below
        std::condition_variable ended;
        std::optional<Reach> reach;
        bool finished = false;
    };
}

std::optional<PublicAddress::Reach> PublicAddress::reachOfNumeric (const juce::String& host)
{
    const auto bare = bareHost (host);

    if (bare.isEmpty())
        return std::nullopt;

    return lookUp (bare, AI_NUMERICHOST);
}

PublicAddress::Reach PublicAddress::reachOfHost (const juce::String& host, const std::function<bool()>& shouldStop)
{
    const auto bare = bareHost (host);

    if (bare.isEmpty())
        return Reach::unknown;

    if (const auto numeric = reachOfNumeric (bare))
        return *numeric;

    // The network library takes these for the computer itself without asking anyone.
    if (bare.equalsIgnoreCase ("localhost") || bare.endsWithIgnoreCase (".localhost"))
        return Reach::usersNetwork;

    // The system's resolver takes no time limit, so it runs on a thread of its own that
    // is left to finish alone once the wait is over.
    auto resolution = std::make_shared<Resolution>();

    std::thread ([resolution, bare]
                 {
                     const auto reach = lookUp (bare, 0);
                     const std::lock_guard<std::mutex> guard (resolution->lock);
                     resolution->reach = reach;
                     resolution->finished = true;
                     resolution->ended.notify_all();
                 })
        .detach();

    const auto giveUpAt = std::chrono::steady_clock::now() + std::chrono::milliseconds (resolveTimeLimitMs);
    std::unique_lock<std::mutex> guard (resolution->lock);

    while (! resolution->ended.wait_for (guard, std::chrono::milliseconds (pollIntervalMs), [&] { return resolution->finished; }))
        if (std::chrono::steady_clock::now() >= giveUpAt || (shouldStop != nullptr && shouldStop()))
            return Reach::unknown;

    return resolution->reach.value_or (Reach::unknown);
}

PublicAddress::Reach PublicAddress::reachOf (const juce::String& address, const std::function<bool()>& shouldStop)
{
    return reachOfHost (WebAddress::hostOf (address), shouldStop);
}
