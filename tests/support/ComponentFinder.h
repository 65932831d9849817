#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include <stdexcept>
#include <string>

/** Finds the controls a test drives or checks among a component's children. The
    throwing forms fail the test that asks for a control that is not there.
*/
namespace ComponentFinder
{
    enum class Depth { childrenOnly, wholeTree };

    /** The first button with this text, or nullptr. */
    juce::Button* findButton (juce::Component& parent, const juce::String& text, Depth depth = Depth::wholeTree);

    /** The first child of kind T, or nullptr. */
    template <typename T>
    T* findChild (juce::Component& parent)
    {
        for (auto* c : parent.getChildren())
            if (auto* t = dynamic_cast<T*> (c))
                return t;

        return nullptr;
    }

    /** The child at index (children are kept in the order they were created), as T. */
    template <typename T>
    T& child (juce::Component& parent, int index)
    {
        auto* c = dynamic_cast<T*> (parent.getChildComponent (index));

        if (c == nullptr)
            throw std::logic_error ("child " + std::to_string (index) + " is missing or of another kind");

        return *c;
    }

    /** The first child of kind T. */
    template <typename T>
    T& firstChild (juce::Component& parent)
    {
        if (auto* t = findChild<T> (parent))
            return *t;

        throw std::logic_error ("no child of the kind asked for");
    }
}
