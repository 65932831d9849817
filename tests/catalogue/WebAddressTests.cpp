#include <gtest/gtest.h>

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
