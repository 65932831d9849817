#include "platform/RealPath.h"

#include <cstdlib>
#include <memory>

std::optional<juce::File> RealPath::of (const juce::File& file)
{
    const std::unique_ptr<char, decltype (&std::free)> resolved (::realpath (file.getFullPathName().toRawUTF8(), nullptr),
                                                                 &std::free);

    if (resolved == nullptr)
        return {};

    return juce::File (juce::String::fromUTF8 (resolved.get()));
}
