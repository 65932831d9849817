#pragma once

#include <map>
#include <optional>
#include <juce_core/juce_core.h>

#include "catalogue/CataloguePublicKey.h"

/** What this user has accepted before: for each catalogue name and signing key, the
    highest serial of a signed catalogue the program took, so that an older one served
    again is recognised. Kept in a small text file, a line per entry:
        <public key's base64> <name> <serial>

    The record only ever helps: a missing, unreadable or oversized record, or anything
    but a regular file in its place (a pipe, say), counts as nothing accepted, and a
    garbled line of it as no entry. It is replaced in one step (a temporary file moved
    over it, never opening what was there), so a reader never sees half of it. Used from
    the catalogue's worker thread; two programs writing at once lose at most one entry.
*/
class AcceptedCatalogues
{
public:
    explicit AcceptedCatalogues (const juce::File& recordFile) : file (recordFile) {}

    /** The record of the user running the program, in their settings folder. */
    static juce::File usersRecord();

    /** The highest serial accepted for name under key; nothing when none was. */
    std::optional<juce::int64> highestSerial (const CataloguePublicKey& key, const juce::String& name) const;

    /** Records serial for name under key, unless a higher one is recorded. A record
        that cannot be written is left as it is.
    */
    void accept (const CataloguePublicKey& key, const juce::String& name, juce::int64 serial) const;

    /** Far above the record of any real use: a few entries of a few hundred bytes. */
    static constexpr juce::int64 largestRecord = 64 * 1024;

private:
    std::map<juce::String, juce::int64> read() const;

    juce::File file;
};
