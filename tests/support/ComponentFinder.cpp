#include "tests/support/ComponentFinder.h"

namespace ComponentFinder
{
    juce::Button* findButton (juce::Component& parent, const juce::String& text, Depth depth)
    {
        for (auto* c : parent.getChildren())
        {
            if (auto* button = dynamic_cast<juce::Button*> (c); button != nullptr && button->getButtonText() == text)
                return button;

            if (depth == Depth::wholeTree)
                if (auto* found = findButton (*c, text, depth))
                    return found;
        }

        return nullptr;
    }
}
