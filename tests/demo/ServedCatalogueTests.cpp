#include "demo/ServedCatalogue.h"

#include <gtest/gtest.h>

TEST (ServedCatalogue, MovesEveryAddressOnTheUpdateHostToTheBaseAddress)
{
    const juce::String catalogue ("<Revision ImageUrl=\"http://updates.example.com/a/1.bin\"\n"
                                  "          ReleaseNotesUrl=\"http://updates.example.com/a/1.html\"/>");

    EXPECT_EQ (ServedCatalogue::moveAddresses (catalogue, "updates.example.com", "http://127.0.0.1:4711/"),
               "<Revision ImageUrl=\"http://127.0.0.1:4711/a/1.bin\"\n"
               "          ReleaseNotesUrl=\"http://127.0.0.1:4711/a/1.html\"/>");
}

TEST (ServedCatalogue, LeavesAddressesOnOtherHostsAlone)
{
    const juce::String catalogue ("http://notes.example.org/a.html "
                                  "http://updates.example.com.mirror.org/a.bin "
                                  "http://updates.example.com:8080/a.bin "
                                  "https://updates.example.com/a.bin");

    EXPECT_EQ (ServedCatalogue::moveAddresses (catalogue, "updates.example.com", "http://127.0.0.1:4711/"), catalogue);
}

TEST (ServedCatalogue, TakesTheHostNameInAnyCase)
{
    EXPECT_EQ (ServedCatalogue::moveAddresses ("HTTP://Updates.Example.com/a.bin", "updates.example.com", "http://127.0.0.1:1/"),
               "http://127.0.0.1:1/a.bin");
}

TEST (ServedCatalogue, MovesAHostThatCarriesAPort)
{
    EXPECT_EQ (ServedCatalogue::moveAddresses ("http://127.0.0.1:8000/a.bin", "127.0.0.1:8000", "http://127.0.0.1:4711/"),
               "http://127.0.0.1:4711/a.bin");
}
