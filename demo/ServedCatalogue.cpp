#include "demo/ServedCatalogue.h"

juce::String ServedCatalogue::moveAddresses (const juce::String& catalogue, const juce::String& host,
                                             const juce::String& baseUrl)
{
    // Host names are not case-sensitive; the scheme is not either.
    return catalogue.replace ("http://" + host + "/", baseUrl, true);
}
