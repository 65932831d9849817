#include "catalogue/AcceptedCatalogues.h"

#include "catalogue/CatalogueSignature.h"

namespace
{
    juce::String entryKey (const CataloguePublicKey& key, const juce::String& name)
    {
        return key.toBase64() + " " + name;
    }
}

juce::File AcceptedCatalogues::usersRecord()
{
    return juce::File::getSpecialLocation (juce::File::userApplicationDataDirectory)
        .getChildFile ("Quillon")
        .getChildFile ("accepted-catalogues");
}

std::optional<juce::int64> AcceptedCatalogues::highestSerial (const CataloguePublicKey& key, const juce::String& name) const
{
    const auto entries = read();
    const auto found = entries.find (entryKey (key, name));

    if (found == entries.end())
        return {};

    return found->second;
}

void AcceptedCatalogues::accept (const CataloguePublicKey& key, const juce::String& name, juce::int64 serial) const
{
    // Read again just before writing, so that what another run recorded meanwhile stays.
    auto entries = read();
    auto& recorded = entries[entryKey (key, name)];
    recorded = std::max (recorded, serial);

    juce::String text;

    for (const auto& [entry, highest] : entries)
        text << entry << " " << juce::String (highest) << "\n";

    if (file.getParentDirectory().createDirectory().wasOk())
        file.replaceWithText (text, false, false, "\n");
}

std::map<juce::String, juce::int64> AcceptedCatalogues::read() const
{
    std::map<juce::String, juce::int64> entries;

    if (! file.existsAsFile() || file.getSize() > largestRecord)
        return entries;

    juce::FileInputStream stream (file);

    if (! stream.openedOk())
        return entries;

    juce::MemoryBlock data;
    stream.readIntoMemoryBlock (data, (ssize_t) largestRecord);

    for (const auto& line : juce::StringArray::fromLines (data.toString()))
    {
        const auto fields = juce::StringArray::fromTokens (line, " ", {});

        const auto serial = CatalogueSignature::serialFrom (fields[2]);

        if (fields.size() != 3 || ! CataloguePublicKey::fromBase64 (fields[0]).has_value()
            || ! CatalogueSignature::isValidName (fields[1]) || ! serial.has_value())
            continue;

        auto& highest = entries[fields[0] + " " + fields[1]];
        highest = std::max (highest, *serial);
    }

    return entries;
}
