#include "catalogue/AcceptedCatalogues.h"

#include "catalogue/CatalogueSignature.h"
#include "catalogue/RegularFileInputStream.h"
#include "platform/UserConfigFolder.h"

namespace
{
    juce::String entryKey (const CataloguePublicKey& key, const juce::String& name)
    {
        return key.toBase64() + " " + name;
    }
}

juce::File AcceptedCatalogues::usersRecord()
{
    return UserConfigFolder::ofThisUser()
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

    // Only a regular file is read: a pipe put in its place would hold the catalogue's
    // worker until someone wrote to it, where no cancel reaches.
    RegularFileInputStream stream (file.getFullPathName());

    if (stream.getKind() != RegularFileInputStream::Kind::regularFile || stream.getTotalLength() > largestRecord)
        return entries;

    juce::MemoryBlock data;
    stream.readIntoMemoryBlock (data, (ssize_t) largestRecord);

    if (stream.hasFailed())
        return entries;

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
