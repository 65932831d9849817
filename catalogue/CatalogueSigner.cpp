#include "catalogue/CatalogueSigner.h"

namespace
{
    CatalogueSigner::Verdict refused (const juce::String& why)
    {
        return { std::nullopt, why };
    }

    juce::String readableTime (juce::Time time)
    {
        return CatalogueSignature::formatTime (time).replace ("T", " ").replace ("Z", " UTC");
    }
}

std::optional<CatalogueSigner> CatalogueSigner::builtIn()
{
    if (const auto key = CataloguePublicKey::builtIn())
        return CatalogueSigner (*key, AcceptedCatalogues::usersRecord());

    return {};
}

CatalogueSigner::Verdict CatalogueSigner::check (const juce::MemoryBlock& catalogue, const juce::MemoryBlock* signatureFile,
                                                 const juce::String& catalogueAddress, juce::Time now) const
{
    const auto signature = signatureFile != nullptr ? CatalogueSignature::fromFile (*signatureFile) : std::nullopt;

    if (! signature.has_value() && signatureFile != nullptr && CatalogueSignature::isOldFormat (*signatureFile))
        return refused ("The catalogue's signature is of an older kind, which does not say which catalogue it is "
                        "or until when it holds; the vendor must sign the catalogue again");

    if (! signature.has_value() || ! key.hasSigned (catalogue, *signature))
        return refused ("The catalogue's signature could not be verified, so it may not be the vendor's");

    // Only now are the claims the vendor's own.
    const auto& claims = signature->getClaims();
    const auto askedFor = CatalogueSignature::nameFor (catalogueAddress);

    if (claims.name != askedFor)
        return refused ("The catalogue is signed as " + claims.name + ", not as the one asked for, " + askedFor
                        + ", so another catalogue may be being served in its place");

    if (now >= claims.expiresAt)
        return refused ("The catalogue's signature expired on " + readableTime (claims.expiresAt)
                        + ", so an old catalogue may be being served again (or this computer's clock is wrong)");

    const auto highest = accepted.highestSerial (key, claims.name);

    if (highest.has_value() && claims.serial < *highest)
        return refused ("The catalogue (serial " + juce::String (claims.serial) + ") is older than one already taken (serial "
                        + juce::String (*highest) + "), so an old catalogue may be being served again to hide newer updates");

    return { signature, {} };
}

void CatalogueSigner::remember (const CatalogueSignature& signature) const
{
    // A record that cannot be written costs only the check against replays; the
    // catalogue in hand is genuine and current.
    accepted.accept (key, signature.getClaims().name, signature.getClaims().serial);
}
