#include "cli/Json.h"

juce::var Json::object (std::initializer_list<std::pair<const char*, juce::var>> properties)
{
    auto object = std::make_unique<juce::DynamicObject>();

    for (const auto& [name, value] : properties)
        object->setProperty (name, value);

    return juce::var (object.release());
}
