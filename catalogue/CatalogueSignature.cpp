#include "catalogue/CatalogueSignature.h"

#include <algorithm>

#include "catalogue/Sodium.h"

namespace
{
    const juce::String firstLine ("quillon-catalogue-signature 2");
    const char* const fieldNames[] { "name", "serial", "signed", "expires", "sha256", "signature" };
    constexpr int fieldCount = (int) std::size (fieldNames);

    // Eighteen digits hold any serial a clock gives (YYYYMMDDhhmmss) and stay far below
    // the largest int64.
    constexpr int longestSerial = 18;

    constexpr juce::int64 secondsPerDay = 24 * 60 * 60;

    struct CivilTime
    {
        juce::int64 year, month, day, hour, minute, second;
    };

    // Days since 1970-01-01 of a date of the proleptic Gregorian calendar, and back
    // (H. Hinnant's algorithms): the file's times are UTC whatever this computer's zone.
    juce::int64 daysFromCivil (juce::int64 year, juce::int64 month, juce::int64 day)
    {
        year -= month <= 2 ? 1 : 0;
        const auto era = (year >= 0 ? year : year - 399) / 400;
        const auto yearOfEra = year - era * 400;
        const auto dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
        const auto dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
        return era * 146097 + dayOfEra - 719468;
    }

    CivilTime civilFromSeconds (juce::int64 seconds)
    {
        const auto days = (seconds >= 0 ? seconds : seconds - secondsPerDay + 1) / secondsPerDay;
        const auto secondOfDay = seconds - days * secondsPerDay;
        const auto shifted = days + 719468;
        const auto era = (shifted >= 0 ? shifted : shifted - 146096) / 146097;
        const auto dayOfEra = shifted - era * 146097;
        const auto yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
        const auto dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
        const auto monthIndex = (5 * dayOfYear + 2) / 153;
        const auto month = monthIndex < 10 ? monthIndex + 3 : monthIndex - 9;

        return { yearOfEra + era * 400 + (month <= 2 ? 1 : 0), month, dayOfYear - (153 * monthIndex + 2) / 5 + 1,
                 secondOfDay / 3600, secondOfDay / 60 % 60, secondOfDay % 60 };
    }

    juce::String digits (juce::int64 value, int width)
    {
        return juce::String (value).paddedLeft ('0', width);
    }

    bool isDigits (const juce::String& text)
    {
        return text.isNotEmpty() && text.containsOnly ("0123456789");
    }

    // "YYYY-MM-DDThh:mm:ssZ" of a year from 1970 to 9999; a date that does not exist
    // reads as another one here and is then refused by the comparison of spellings.
    std::optional<juce::Time> parseTime (const juce::String& text)
    {
        const auto field = [&text] (int start, int length) { return text.substring (start, start + length); };

        if (text.length() != 20 || field (4, 1) != "-" || field (7, 1) != "-" || field (10, 1) != "T"
            || field (13, 1) != ":" || field (16, 1) != ":" || field (19, 1) != "Z")
            return {};

        const std::pair<int, int> numbers[] { { 0, 4 }, { 5, 2 }, { 8, 2 }, { 11, 2 }, { 14, 2 }, { 17, 2 } };

        for (const auto& [start, length] : numbers)
            if (! isDigits (field (start, length)))
                return {};

        const auto number = [&field] (int start, int length) { return field (start, length).getLargeIntValue(); };
        const auto year = number (0, 4), month = number (5, 2), day = number (8, 2);

        if (year < 1970 || month < 1 || month > 12 || day < 1 || day > 31)
            return {};

        const auto seconds = daysFromCivil (year, month, day) * secondsPerDay
                           + number (11, 2) * 3600 + number (14, 2) * 60 + number (17, 2);
        return juce::Time (seconds * 1000);
    }

    bool isSha256 (const juce::String& text)
    {
        return text.length() == 64 && text.containsOnly ("0123456789abcdef");
    }

    bool isPrintableAsciiWithLineFeeds (const juce::MemoryBlock& file)
    {
        const auto* bytes = static_cast<const unsigned char*> (file.getData());
        return std::all_of (bytes, bytes + file.getSize(), [] (unsigned char c) { return c == '\n' || (c >= 0x20 && c < 0x7f); });
    }

    // The values of the fields, in order, when text has exactly the layout of the file.
    std::optional<juce::StringArray> fieldValues (const juce::String& text)
    {
        if (! text.endsWithChar ('\n'))
            return {};

        const auto lines = juce::StringArray::fromTokens (text.dropLastCharacters (1), "\n", {});

        if (lines.size() != fieldCount + 1 || lines[0] != firstLine)
            return {};

        juce::StringArray values;

        for (int i = 0; i < fieldCount; ++i)
        {
            const auto prefix = juce::String (fieldNames[i]) + " ";

            if (! lines[i + 1].startsWith (prefix))
                return {};

            values.add (lines[i + 1].substring (prefix.length()));
        }

        return values;
    }
}

CatalogueSignature::Claims CatalogueSignature::Claims::issued (const juce::String& name, juce::Time signedAt, int daysValid)
{
    const auto seconds = signedAt.toMilliseconds() / 1000;
    const auto civil = civilFromSeconds (seconds);
    const auto serial = ((((civil.year * 100 + civil.month) * 100 + civil.day) * 100 + civil.hour) * 100 + civil.minute) * 100
                      + civil.second;

    return { name, serial, juce::Time (seconds * 1000), juce::Time ((seconds + daysValid * secondsPerDay) * 1000) };
}

CatalogueSignature::CatalogueSignature (const Claims& claimsMade, const juce::String& digest,
                                        const std::array<unsigned char, size>& signatureBytes)
    : claims (claimsMade),
      sha256 (digest),
      bytes (signatureBytes)
{
}

std::optional<CatalogueSignature> CatalogueSignature::fromFile (const juce::MemoryBlock& file)
{
    if ((juce::int64) file.getSize() > largestFile || ! isPrintableAsciiWithLineFeeds (file))
        return {};

    const auto text = file.toString();
    const auto values = fieldValues (text);

    if (! values.has_value())
        return {};

    const auto serial = serialFrom ((*values)[1]);
    const auto signedAt = parseTime ((*values)[2]);
    const auto expiresAt = parseTime ((*values)[3]);
    std::array<unsigned char, size> signatureBytes;

    if (! isValidName ((*values)[0]) || ! serial.has_value() || ! signedAt.has_value() || ! expiresAt.has_value()
        || ! isSha256 ((*values)[4]) || ! Sodium::decodeBase64 ((*values)[5], signatureBytes.data(), signatureBytes.size()))
        return {};

    const CatalogueSignature signature ({ (*values)[0], *serial, *signedAt, *expiresAt }, (*values)[4], signatureBytes);

    // Leading zeros, days that do not exist, base64 with blanks: one spelling only.
    if (signature.toFileText() != text)
        return {};

    return signature;
}

std::optional<juce::int64> CatalogueSignature::serialFrom (const juce::String& text)
{
    if (! isDigits (text) || text.length() > longestSerial)
        return {};

    return text.getLargeIntValue();
}

bool CatalogueSignature::isOldFormat (const juce::MemoryBlock& file)
{
    std::array<unsigned char, size> signatureBytes;
    return (juce::int64) file.getSize() <= largestFile
        && Sodium::decodeBase64 (file.toString(), signatureBytes.data(), signatureBytes.size());
}

bool CatalogueSignature::isValidName (const juce::String& name)
{
    if (! name.startsWithChar ('/') || name.length() > longestName || name.containsAnyOf ("?#"))
        return false;

    for (const auto c : name)
        if (c <= 0x20 || c >= 0x7f)
            return false;

    return true;
}

juce::String CatalogueSignature::addressFor (const juce::String& catalogueAddress)
{
    const auto queryStart = catalogueAddress.indexOfChar ('?');

    if (queryStart < 0)
        return catalogueAddress + ".sig";

    return catalogueAddress.substring (0, queryStart) + ".sig" + catalogueAddress.substring (queryStart);
}

juce::String CatalogueSignature::nameFor (const juce::String& catalogueAddress)
{
    const auto afterScheme = catalogueAddress.fromFirstOccurrenceOf ("://", false, false);
    const auto pathStart = afterScheme.indexOfAnyOf ("/?#");

    if (pathStart < 0)
        return "/";

    const auto path = afterScheme.substring (pathStart).upToFirstOccurrenceOf ("?", false, false)
                                                       .upToFirstOccurrenceOf ("#", false, false);
    return path.isEmpty() ? juce::String ("/") : path;
}

juce::String CatalogueSignature::signedText (const Claims& claims, const juce::String& sha256)
{
    return firstLine + "\n"
         + "name " + claims.name + "\n"
         + "serial " + juce::String (claims.serial) + "\n"
         + "signed " + formatTime (claims.signedAt) + "\n"
         + "expires " + formatTime (claims.expiresAt) + "\n"
         + "sha256 " + sha256 + "\n";
}

juce::String CatalogueSignature::formatTime (juce::Time time)
{
    const auto civil = civilFromSeconds (time.toMilliseconds() / 1000);
    return digits (civil.year, 4) + "-" + digits (civil.month, 2) + "-" + digits (civil.day, 2) + "T"
         + digits (civil.hour, 2) + ":" + digits (civil.minute, 2) + ":" + digits (civil.second, 2) + "Z";
}

juce::String CatalogueSignature::toFileText() const
{
    return signedText (claims, sha256) + "signature " + Sodium::encodeBase64 (bytes.data(), bytes.size()) + "\n";
}
