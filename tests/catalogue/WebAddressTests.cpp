#include <gtest/gtest.h>

#include "catalogue/PublicAddress.h"
#include "catalogue/WebAddress.h"

TEST (WebAddress, OnlyHttpAndHttpsWithAHostAndPlainAddressCharactersAreAllowed)
{
    struct Case { const char* address; bool allowed; };

    const Case cases[] = {
        { "http://updates.tesmar-audio.com/updater/notes/1.2.html", true },
        { "HTTPS://updates.tesmar-audio.com:8443/a/b.bin?x=1&y=%20#top", true },
        { "http://127.0.0.1:8080/x.bin", true },
        { "http://[::1]:8080/x.bin", true },
        { "http://host/n.html$(id)", true },           // harmless without a shell: no shell ever sees it
        { "http://host/n.html`id`", false },
        { "http://host/n.html\"; id; \"", false },
        { "http://host/a b.html", false },
        { "http://host/a\r\nX-Injected: 1", false },
        { "http://host/caf\xc3\xa9", false },
        { "http://vendor.com@elsewhere/x.bin", false },
        { "http:///x.bin", false },
        { "http://", false },
        { "http://host:80a/x.bin", false },
        { "http://[::1/x.bin", false },
        { "gopher://127.0.0.1:6379/_SET%20owned%201", false },
        { "dict://127.0.0.1:11211/stat", false },
        { "ftp://host/x.bin", false },
        { "file:///tmp/x.bin", false },
        { "/usr/bin/xcalc", false },
        { "javascript:alert(1)", false },
        { "", false },
    };

    for (const auto& c : cases)
        EXPECT_EQ (WebAddress::isAllowed (juce::String::fromUTF8 (c.address)), c.allowed) << c.address;
}

TEST (WebAddress, ARedirectLeadsToAWholeAddressOrToAPathOnTheSameServerOnly)
{
    struct Case { const char* location; const char* resolved; };

    const Case cases[] = {
        { "http://mirror.example.com/x.bin", "http://mirror.example.com/x.bin" },
        { "https://mirror.example.com/x.bin", "https://mirror.example.com/x.bin" },
        { "/images/x.bin?v=2", "http://127.0.0.1:8080/images/x.bin?v=2" },
        { "//elsewhere.example.com/x.bin", "" },
        { "x.bin", "" },
        { "gopher://127.0.0.1:6379/_QUIT", "" },
        { "file:///etc/passwd", "" },
        { "/a b", "" },
    };

    for (const auto& c : cases)
        EXPECT_EQ (WebAddress::resolveRedirect ("http://127.0.0.1:8080/updater/x.bin?nocache=1", c.location),
                   c.resolved)
            << c.location;
}

TEST (PublicAddress, TheUsersOwnNetworksAreToldFromTheInternetWhateverTheSpelling)
{
    using Reach = PublicAddress::Reach;
    struct Case { const char* host; Reach reach; };

    const Case cases[] = {
        { "93.184.216.34",         Reach::internet },
        { "8.8.8.8",               Reach::internet },
        { "100.63.255.255",        Reach::internet },    // just below carrier-grade NAT
        { "100.128.0.0",           Reach::internet },    // just above it
        { "172.15.255.255",        Reach::internet },
        { "172.32.0.0",            Reach::internet },
        { "223.255.255.255",       Reach::internet },
        { "[2001:db8::1]",         Reach::internet },
        { "2606:4700::1111",       Reach::internet },
        { "127.0.0.1",             Reach::usersNetwork },
        { "127.255.255.254",       Reach::usersNetwork },
        { "2130706433",            Reach::usersNetwork }, // 127.0.0.1 as one number
        { "0x7f.1",                Reach::usersNetwork },
        { "0x7f000001",            Reach::usersNetwork },
        { "0177.0.0.1",            Reach::usersNetwork },
        { "127.1",                 Reach::usersNetwork },
        { "127.0.0.1.",            Reach::usersNetwork },
        { "0.0.0.0",               Reach::usersNetwork },
        { "0",                     Reach::usersNetwork },
        { "10.1.2.3",              Reach::usersNetwork },
        { "172.16.0.1",            Reach::usersNetwork },
        { "172.31.255.255",        Reach::usersNetwork },
        { "192.168.1.1",           Reach::usersNetwork },
        { "169.254.169.254",       Reach::usersNetwork }, // where clouds answer with their secrets
        { "100.64.0.1",            Reach::usersNetwork },
        { "100.127.255.255",       Reach::usersNetwork },
        { "224.0.0.1",             Reach::usersNetwork },
        { "255.255.255.255",       Reach::usersNetwork },
        { "::1",                   Reach::usersNetwork },
        { "[::1]",                 Reach::usersNetwork },
        { "::",                    Reach::usersNetwork },
        { "[::ffff:127.0.0.1]",    Reach::usersNetwork },
        { "::ffff:7f00:1",         Reach::usersNetwork },
        { "::ffff:192.168.0.1",    Reach::usersNetwork },
        { "::ffff:8.8.8.8",        Reach::internet },
        { "::127.0.0.1",           Reach::usersNetwork },
        { "64:ff9b::10.0.0.1",     Reach::usersNetwork },
        { "2002:c0a8:0101::1",     Reach::usersNetwork }, // 6to4 around 192.168.1.1
        { "fe80::1",               Reach::usersNetwork },
        { "fe80::1%1",             Reach::usersNetwork },
        { "febf::1",               Reach::usersNetwork },
        { "fc00::1",               Reach::usersNetwork },
        { "fd12:3456::1",          Reach::usersNetwork },
        { "ff02::1",               Reach::usersNetwork },
        { "localhost",             Reach::usersNetwork },
        { "LOCALHOST.",            Reach::usersNetwork },
        { "printer.localhost",     Reach::usersNetwork },
        { "",                      Reach::unknown },
    };

    for (const auto& c : cases)
        EXPECT_EQ (PublicAddress::reachOfHost (c.host, nullptr), c.reach) << c.host;
}
