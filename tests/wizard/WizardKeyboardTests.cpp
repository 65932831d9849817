#include <gtest/gtest.h>

#include "app/AppWindow.h"
#include "tests/device/ShortReplyTimeouts.h"
#include "tests/support/DisplayFocus.h"
#include "tests/support/MessageLoop.h"
#include "tests/support/PollingTrigger.h"
#include "tests/support/UserTexts.h"
#include "tests/support/WizardDriver.h"
#include "tests/wizard/WizardWorld.h"

namespace
{
    const juce::KeyPress tab (juce::KeyPress::tabKey);
    const juce::KeyPress shiftTab (juce::KeyPress::tabKey, juce::ModifierKeys::shiftModifier, 0);
    const juce::KeyPress returnKey (juce::KeyPress::returnKey);
    const juce::KeyPress escape (juce::KeyPress::escapeKey);
    const juce::KeyPress space (juce::KeyPress::spaceKey, {}, ' ');
    const juce::KeyPress down (juce::KeyPress::downKey);

    constexpr auto list = "list";
    constexpr auto text = "text";
    constexpr auto notesLink = "View release notes";

    juce::String nameOf (juce::Component* component)
    {
        if (component == nullptr)
            return "(nothing)";

        if (auto* button = dynamic_cast<juce::Button*> (component))
            return button->getButtonText();

        if (dynamic_cast<juce::ComboBox*> (component) != nullptr)
            return list;

        return dynamic_cast<juce::TextEditor*> (component) != nullptr ? text : "(another component)";
    }

    /** The wizard in the program's window, focused, under the virtual display; keys go
        in through the window's peer, as the windowing system's do.
    */
    struct WizardKeyboard : public ::testing::Test
    {
        WizardKeyboard()
        {
            EXPECT_TRUE (displayFocus.isHeld());
            EXPECT_TRUE (DisplayFocus::focus (*window));

            // As the windowing system tells a window that has become active.
            window->getPeer()->handleFocusGain();
        }

        std::unique_ptr<AppWindow> makeWindow()
        {
            world.makeWizard (devicetest::shortReplyTimeouts());
            return std::make_unique<AppWindow> (std::move (world.wizard));
        }

        ~WizardKeyboard() override
        {
            window.reset();
        }

        void press (const juce::KeyPress& key)
        {
            DisplayFocus::focus (*window);
            window->getPeer()->handleKeyPress (key);
            MessageLoop::dispatchPending();
        }

        // The control with the focus. A window of another test process may have taken the
        // display's focus for a moment; given it back, the window restores its own.
        juce::Component* focusedControl()
        {
            DisplayFocus::focus (*window);
            return juce::Component::getCurrentlyFocusedComponent();
        }

        juce::String focused()
        {
            return nameOf (focusedControl());
        }

        // The names of the controls Tab (or Shift-Tab) visits, from the focused one
        // round to it again.
        juce::StringArray tabCycle (const juce::KeyPress& key)
        {
            auto* start = focusedControl();
            juce::StringArray names { nameOf (start) };

            for (int i = 0; i < 8; ++i)
            {
                press (key);

                if (focusedControl() == start)
                    break;

                names.add (focused());
            }

            return names;
        }

        // First, so that the turn lasts until the window has gone.
        DisplayFocus displayFocus;
        WizardWorld world;
        std::unique_ptr<AppWindow> window = makeWindow();
        UpdateWizard& wizard = *dynamic_cast<UpdateWizard*> (window->getContentComponent());
        WizardDriver driver { wizard };
    };

    juce::StringArray reversedAfterFirst (const juce::StringArray& cycle)
    {
        juce::StringArray reversed { cycle[0] };

        for (int i = cycle.size(); --i >= 1;)
            reversed.add (cycle[i]);

        return reversed;
    }
}

TEST_F (WizardKeyboard, EveryPageOfAnUpdateIsUsedWithTheKeyboardAlone)
{
    world.setUpReverbScene (WizardWorld::reverbDevice(), {}, "Hold TAP while you switch it on.");

    const struct
    {
        const char* caption;
        juce::StringArray tabOrder;  // from the control focused when the page shows
        std::vector<juce::KeyPress> keys;
        const char* nextCaption;
    } pages[] = {
        { UserTexts::welcome,          { UserTexts::next },                              { returnKey },                       UserTexts::foundDevices },
        { UserTexts::foundDevices,     { list, UserTexts::back, UserTexts::next },       { escape, returnKey },               UserTexts::versionFiltering },
        { UserTexts::versionFiltering, { UserTexts::latestVersionOnly, UserTexts::allVersions, UserTexts::back, UserTexts::next },
                                                                                         { tab, space, returnKey },           UserTexts::updatesAvailable },
        // Two versions and none chosen: Next is disabled and the link hidden.
        { UserTexts::updatesAvailable, { list, UserTexts::back },                        { down, down, returnKey },           UserTexts::confirm },
        // Return does not tick the box, it stands for the disabled Next.
        { UserTexts::confirm,          { UserTexts::confirmation, UserTexts::back },     { returnKey, escape, space, returnKey }, UserTexts::prepareToUpdate },
        { UserTexts::prepareToUpdate,  { UserTexts::next, UserTexts::back },             { returnKey },                       UserTexts::updateSucceeded },
    };

    for (const auto& page : pages)
    {
        SCOPED_TRACE (page.caption);
        ASSERT_EQ (driver.caption(), page.caption);

        EXPECT_EQ (tabCycle (tab).joinIntoString (", "), page.tabOrder.joinIntoString (", "));
        EXPECT_EQ (tabCycle (shiftTab).joinIntoString (", "), reversedAfterFirst (page.tabOrder).joinIntoString (", "));

        for (const auto& key : page.keys)
            press (key);

        EXPECT_EQ (driver.caption(), page.nextCaption);
    }

    EXPECT_EQ (tabCycle (tab).joinIntoString (", "), juce::StringArray ({ text, UserTexts::done }).joinIntoString (", "));
    EXPECT_EQ (world.getQuitRequests(), 0);
    press (returnKey);
    EXPECT_EQ (world.getQuitRequests(), 1) << "Return on the results page presses Done";
}

TEST_F (WizardKeyboard, TheVersionListTakesTheArrowKeysAndTheLinkJoinsTheTabOrder)
{
    world.setUpReverbScene();
    ASSERT_TRUE (driver.walkTo (UserTexts::versionFiltering));
    ASSERT_TRUE (driver.toggle (UserTexts::allVersions));
    driver.click (UserTexts::next);

    ASSERT_EQ (focused(), list);
    press (down);
    press (down);

    EXPECT_EQ (tabCycle (tab).joinIntoString (", "), juce::StringArray ({ list, notesLink, UserTexts::back, UserTexts::next }).joinIntoString (", "));
}

TEST_F (WizardKeyboard, EscapePressesCancelWhileAStepWaits)
{
    const struct
    {
        const char* step;
        bool downloadsTheImage;
        const char* stalledPath;
    } steps[] = {
        { "catalogue download", false, "/updater/common/config/UpdateTargets.xml" },
        { "image download",     true,  "/images/reverb-1.5.bin" },
    };

    world.setUpReverbScene();
    const auto catalogue = world.servedCatalogue;

    for (const auto& step : steps)
    {
        SCOPED_TRACE (step.step);
        const auto stalled = step.downloadsTheImage ? WizardWorld::makeImage()
                                                    : juce::MemoryBlock (catalogue.toRawUTF8(), catalogue.getNumBytesAsUTF8());
        world.serve (step.stalledPath, WizardWorld::stallingAfter (stalled, 10));

        if (step.downloadsTheImage)
        {
            world.serveCatalogue (catalogue);
            ASSERT_TRUE (driver.walkTo (UserTexts::confirm));
            ASSERT_TRUE (driver.toggle (UserTexts::confirmation));
        }

        juce::StringArray cycleWhileWaiting;
        PollingTrigger escapeWhenStalled ([&] { return world.serverWasAskedFor (step.stalledPath); }, [&]
        {
            cycleWhileWaiting = tabCycle (tab);
            window->getPeer()->handleKeyPress (escape);
        });

        press (returnKey);

        EXPECT_EQ (cycleWhileWaiting.joinIntoString (", "), juce::StringArray ({ UserTexts::cancel }).joinIntoString (", "));
        EXPECT_EQ (driver.caption(), UserTexts::updateCancelled);
        EXPECT_EQ (tabCycle (tab).joinIntoString (", "), juce::StringArray ({ text, UserTexts::startOver, UserTexts::done }).joinIntoString (", "));

        press (tab);
        press (returnKey);
        ASSERT_EQ (driver.caption(), UserTexts::welcome) << "Return on the focused Start Over presses it";
    }
}
