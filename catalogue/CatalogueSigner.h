#pragma once

#include <optional>
#include <juce_core/juce_core.h>

#include "catalogue/AcceptedCatalogues.h"
#include "catalogue/CataloguePublicKey.h"
#include "catalogue/CatalogueSignature.h"

/** Who must have signed a catalogue from a server, and what this user has accepted of
    theirs before: a catalogue is taken only with a signature file made with the key
    over its exact bytes, that names the catalogue asked for, has not expired, and is
    no older than one accepted before. Copies share the record's file. Any thread.
*/
class CatalogueSigner
{
public:
    CatalogueSigner (const CataloguePublicKey& signerKey, const juce::File& acceptedRecord)
        : key (signerKey),
          accepted (acceptedRecord)
    {
    }

    /** The key this program was built with, and the record of the user running it;
        nothing when the program was built without a key.
    */
    static std::optional<CatalogueSigner> builtIn();

    struct Verdict
    {
        /** The signature, when the catalogue may be taken. */
        std::optional<CatalogueSignature> signature;
        /** Otherwise, why not: a sentence for the user. */
        juce::String refusal;
    };

    /** Whether catalogue, fetched from catalogueAddress, may be taken at time now with
        signatureFile (null when none came).
    */
    Verdict check (const juce::MemoryBlock& catalogue, const juce::MemoryBlock* signatureFile,
                   const juce::String& catalogueAddress, juce::Time now) const;

    /** Once the catalogue it signs has been taken: its serial becomes the lowest one
        taken from now on.
    */
    void remember (const CatalogueSignature& signature) const;

    const CataloguePublicKey& getKey() const noexcept { return key; }
    const AcceptedCatalogues& getAccepted() const noexcept { return accepted; }

private:
    CataloguePublicKey key;
    AcceptedCatalogues accepted;
};
