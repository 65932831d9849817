#pragma once

#include <array>
#include <optional>
#include <juce_core/juce_core.h>

/** The vendor's signature of a catalogue, in the file that lies beside it on the server
    (its name with ".sig" appended). The catalogue itself stays as it is; the file says
    which catalogue it is, how recent, until when it holds and the digest of its exact
    bytes, and signs those claims with Ed25519:

        quillon-catalogue-signature 2
        name /updater/common/config/UpdateTargets.xml
        serial 20261208234512
        signed 2026-12-08T23:45:12Z
        expires 2027-01-07T23:45:12Z
        sha256 <64 lower-case hex digits>
        signature <standard base64 of the 64-byte signature over the six lines above>

    Every line ends with a line feed alone. The file is read strictly: each field once,
    in this order, nothing else, and only in the one way toFileText() writes it, so that
    what is signed has exactly one spelling. Any thread.
*/
class CatalogueSignature
{
public:
    static constexpr size_t size = 64;

    /** No signature file is anywhere near this; a larger answer is not one. */
    static constexpr juce::int64 largestFile = 1024;

    /** The longest name a catalogue may be signed with. */
    static constexpr int longestName = 400;

    /** What the vendor says of the catalogue it signs. */
    struct Claims
    {
        /** The catalogue's path on the update server, without query. */
        juce::String name;
        /** Only goes up from one signing to the next. */
        juce::int64 serial = 0;
        juce::Time signedAt;
        juce::Time expiresAt;

        /** Claims for a signing at signedAt (whole seconds), holding daysValid days, with
            the time in UTC as the serial (YYYYMMDDhhmmss), so that a later signing has
            a higher one.
        */
        static Claims issued (const juce::String& name, juce::Time signedAt, int daysValid);
    };

    CatalogueSignature (const Claims& claims, const juce::String& sha256, const std::array<unsigned char, size>& signatureBytes);

    /** The signature file's bytes as downloaded; nothing when they are not a signature
        file of this format.
    */
    static std::optional<CatalogueSignature> fromFile (const juce::MemoryBlock& file);

    /** Whether file is a signature of the older kind, a line of base64 alone, which makes
        no claims and so is refused with words of its own.
    */
    static bool isOldFormat (const juce::MemoryBlock& file);

    /** Whether name may be signed: a path of at most longestName visible ASCII characters,
        starting with "/", with neither query nor fragment.
    */
    static bool isValidName (const juce::String& name);

    /** A serial as the file writes it: decimal digits, at most eighteen; nothing for
        any other text.
    */
    static std::optional<juce::int64> serialFrom (const juce::String& text);

    /** Where the signature of the catalogue at catalogueAddress lies: ".sig" after its
        path, before any query, so that a cache-busting query reaches the signature too.
    */
    static juce::String addressFor (const juce::String& catalogueAddress);

    /** The name a catalogue fetched from catalogueAddress must be signed with: the
        address's path, without host and query, as written in it.
    */
    static juce::String nameFor (const juce::String& catalogueAddress);

    /** The exact bytes the signature is made over: every line of the file but the last. */
    static juce::String signedText (const Claims& claims, const juce::String& sha256);

    /** A time as the file writes it, "2026-12-08T23:45:12Z" (UTC). */
    static juce::String formatTime (juce::Time time);

    /** The whole file, with its closing line break. */
    juce::String toFileText() const;

    const Claims& getClaims() const noexcept { return claims; }
    const juce::String& getSha256() const noexcept { return sha256; }
    const std::array<unsigned char, size>& getBytes() const noexcept { return bytes; }

private:
    Claims claims;
    juce::String sha256;
    std::array<unsigned char, size> bytes;
};
