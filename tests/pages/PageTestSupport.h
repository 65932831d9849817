#pragma once

#include <gtest/gtest.h>
#include <juce_gui_basics/juce_gui_basics.h>

#include <functional>
#include <stdexcept>
#include <string>
#include <ostream>

namespace juce
{
    inline void PrintTo (const String& s, std::ostream* os) { *os << '"' << s << '"'; }
    inline void PrintTo (const Rectangle<int>& r, std::ostream* os) { *os << r.toString(); }
}

namespace PageTestSupport
{
    /** Runs the message loop until condition holds or timeoutMs have passed; returns
        whether it holds. Tests run on the message thread, so this is how asynchronous
        notifications reach them.
    */
    inline bool dispatchUntil (const std::function<bool()>& condition, int timeoutMs = 5000)
    {
        const auto end = juce::Time::getMillisecondCounter() + (juce::uint32) timeoutMs;

        while (! condition())
        {
            if (juce::Time::getMillisecondCounter() >= end)
                return false;

            juce::MessageManager::getInstance()->runDispatchLoopUntil (5);
        }

        return true;
    }

    /** Runs the message loop long enough for anything already posted to be delivered. */
    inline void dispatchPending()
    {
        juce::MessageManager::getInstance()->runDispatchLoopUntil (30);
    }

    /** Clicks button the way a user's click does (asynchronously) and lets it arrive. */
    inline void click (juce::Button& button)
    {
        button.triggerClick();
        dispatchPending();
    }

    /** The page's child at index (children are kept in the order they were created),
        as T; fails the test when it is missing or of another kind.
    */
    template <typename T>
    T& child (juce::Component& page, int index)
    {
        auto* c = dynamic_cast<T*> (page.getChildComponent (index));

        if (c == nullptr)
            throw std::logic_error ("page child " + std::to_string (index) + " is missing or of another kind");

        return *c;
    }

    /** The page's first child of kind T; fails the test when there is none. */
    template <typename T>
    T& firstChild (juce::Component& page)
    {
        for (auto* c : page.getChildren())
            if (auto* t = dynamic_cast<T*> (c))
                return *t;

        throw std::logic_error ("page has no child of the kind asked for");
    }

    /** Counts the change messages that a broadcaster delivers with itself as the source. */
    class ChangeCounter : private juce::ChangeListener
    {
    public:
        explicit ChangeCounter (juce::ChangeBroadcaster& b) : broadcaster (b) { broadcaster.addChangeListener (this); }
        ~ChangeCounter() override { broadcaster.removeChangeListener (this); }

        int count = 0;

    private:
        void changeListenerCallback (juce::ChangeBroadcaster* source) override
        {
            if (source == &broadcaster)
                ++count;
        }

        juce::ChangeBroadcaster& broadcaster;
    };

    /** A juce::Thread that runs one function, so that a test can play a worker. */
    class FunctionThread : public juce::Thread
    {
    public:
        explicit FunctionThread (std::function<void()> fn)
            : juce::Thread ("Test worker"), body (std::move (fn)) {}

        ~FunctionThread() override { stopThread (5000); }

        void run() override { body(); }

    private:
        std::function<void()> body;
    };
}
