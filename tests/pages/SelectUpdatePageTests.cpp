#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <unistd.h>

#include "tests/support/ChangeCounter.h"
#include "tests/support/ComponentFinder.h"
#include "tests/support/JucePrinters.h"
#include "tests/support/MessageLoop.h"
#include "wizard/pages/SelectUpdatePage.h"

using ComponentFinder::child;
using MessageLoop::dispatchPending;

namespace
{
    TargetRevision revision (juce::String version, juce::String releaseDate, juce::String releaseNotesUrl)
    {
        TargetRevision r;
        r.version = std::move (version);
        r.releaseDate = std::move (releaseDate);
        r.releaseNotesUrl = std::move (releaseNotesUrl);
        return r;
    }

    /** A folder put on the PATH while this lives, where a test may place a stand-in
        for xdg-open; left empty, no browser launcher is found.
    */
    class LauncherFolder
    {
    public:
        explicit LauncherFolder (bool keepTheSystemsPath)
        {
            if (! folder.createDirectory())
                throw std::runtime_error ("cannot create " + folder.getFullPathName().toStdString());

            const auto path = folder.getFullPathName() + (keepTheSystemsPath ? ":" + oldPath : juce::String());
            ::setenv ("PATH", path.toRawUTF8(), 1);
        }

        ~LauncherFolder()
        {
            ::setenv ("PATH", oldPath.toRawUTF8(), 1);
            folder.deleteRecursively();
        }

        /** Places an xdg-open that runs these shell lines. */
        void placeLauncher (const juce::String& script) const
        {
            const auto launcher = file ("xdg-open");

            if (! launcher.replaceWithText ("#!/bin/sh\n" + script + "\n", false, false, "\n") || ! launcher.setExecutePermission (true))
                throw std::runtime_error ("cannot write " + launcher.getFullPathName().toStdString());
        }

        juce::File file (const juce::String& name) const { return folder.getChildFile (name); }

    private:
        const juce::String oldPath { std::getenv ("PATH") };
        const juce::File folder = juce::File::getSpecialLocation (juce::File::tempDirectory)
                                      .getNonexistentChildFile ("quillon-browser", {}, false);
    };

    // Ended children of this process that nobody has waited for.
    int countZombieChildren()
    {
        int zombies = 0;
        std::error_code error;

        for (std::filesystem::directory_iterator i ("/proc", error), end; ! error && i != end; i.increment (error))
        {
            std::ifstream stat (i->path() / "stat");
            std::string line;

            if (! std::getline (stat, line) || line.rfind (')') == std::string::npos)
                continue;

            // After "pid (name) ": the state, then the parent's pid.
            std::istringstream rest (line.substr (line.rfind (')') + 2));
            char state = 0;
            int parent = 0;

            if (rest >> state >> parent && parent == ::getpid() && state == 'Z')
                ++zombies;
        }

        return zombies;
    }

    juce::AlertWindow* shownMessageBox()
    {
        return dynamic_cast<juce::AlertWindow*> (juce::Component::getCurrentlyModalComponent());
    }
}

class SelectUpdatePageTest : public ::testing::Test
{
protected:
    juce::ComboBox& versionCombo() { return child<juce::ComboBox> (page, 0); }
    ReleaseNotesLink& releaseNotesLink() { return child<ReleaseNotesLink> (page, 2); }

    void choose (int index)
    {
        versionCombo().setSelectedItemIndex (index);
        dispatchPending();
    }

    const TargetRevision withNotes = revision ("1.2", "2009-05-20", "http://127.0.0.1/notes/1.2.html");
    const TargetRevision withoutNotes = revision ("1.3", "Unspecified", "");
    const TargetRevision newestRelease = revision ("2.0b", "2011-01-02", "http://127.0.0.1/notes/2.0b.html");

    SelectUpdatePage page;
};

TEST_F (SelectUpdatePageTest, CarriesItsCaptionDescriptionAndChildren)
{
    EXPECT_EQ (page.caption, "Updates are Available");
    EXPECT_EQ (page.description, "Select a firmware version for your device");
    ASSERT_EQ (page.getNumChildComponents(), 3);

    auto& combo = versionCombo();
    EXPECT_EQ (combo.getName(), "");
    EXPECT_FALSE (combo.isTextEditable());
    EXPECT_EQ (combo.getTextWhenNothingSelected(), "(select)");
    EXPECT_EQ (combo.getTextWhenNoChoicesAvailable(), "(no choices)");
    EXPECT_EQ (combo.getBounds(), juce::Rectangle<int> (168, 64, 192, 24));

    auto& label = child<juce::Label> (page, 1);
    EXPECT_EQ (label.getName(), "new label");
    EXPECT_EQ (label.getText(), "Select new version");
    EXPECT_EQ (label.getBounds(), juce::Rectangle<int> (40, 64, 128, 24));

    EXPECT_EQ (releaseNotesLink().getButtonText(), "View release notes");
    EXPECT_TRUE (releaseNotesLink().getURL().isEmpty());
    EXPECT_FALSE (releaseNotesLink().isVisible());
    EXPECT_EQ (releaseNotesLink().getBounds(), juce::Rectangle<int> (32, 104, 150, 24));
}

TEST_F (SelectUpdatePageTest, ShowsEachRevisionAsVersionAndReleaseDateNumberedFromOne)
{
    page.setRevisions ({ &withNotes, &withoutNotes });

    ASSERT_EQ (versionCombo().getNumItems(), 2);
    EXPECT_EQ (versionCombo().getItemText (0), "1.2 (2009-05-20)");
    EXPECT_EQ (versionCombo().getItemId (0), 1);
    EXPECT_EQ (versionCombo().getItemText (1), "1.3 (Unspecified)");
    EXPECT_EQ (versionCombo().getItemId (1), 2);
}

TEST_F (SelectUpdatePageTest, SelectsASingleRevisionAtOnceAndShowsItsReleaseNotesLink)
{
    ChangeCounter changes (page);

    page.setRevisions ({ &newestRelease });

    EXPECT_EQ (page.getSelectedRevision(), &newestRelease);
    EXPECT_EQ (changes.count, 0);
    ASSERT_TRUE (MessageLoop::dispatchUntil ([&] { return changes.count == 1; }));
    EXPECT_TRUE (releaseNotesLink().isVisible());
    EXPECT_EQ (releaseNotesLink().getAddress(), "http://127.0.0.1/notes/2.0b.html");
}

TEST_F (SelectUpdatePageTest, LeavesTwoRevisionsUnselectedWithTheLinkHidden)
{
    ChangeCounter changes (page);

    page.setRevisions ({ &withNotes, &withoutNotes });
    dispatchPending();

    EXPECT_EQ (page.getSelectedRevision(), nullptr);
    EXPECT_FALSE (releaseNotesLink().isVisible());
    EXPECT_EQ (changes.count, 0);
}

TEST_F (SelectUpdatePageTest, ShowsTheLinkOnlyForARevisionWithReleaseNotes)
{
    ChangeCounter changes (page);
    page.setRevisions ({ &withNotes, &withoutNotes });

    choose (0);
    EXPECT_EQ (changes.count, 1);
    EXPECT_EQ (page.getSelectedRevision(), &withNotes);
    EXPECT_TRUE (releaseNotesLink().isVisible());
    EXPECT_EQ (releaseNotesLink().getAddress(), "http://127.0.0.1/notes/1.2.html");

    choose (1);
    EXPECT_EQ (changes.count, 2);
    EXPECT_EQ (page.getSelectedRevision(), &withoutNotes);
    EXPECT_FALSE (releaseNotesLink().isVisible());
}

TEST_F (SelectUpdatePageTest, RefillingHidesTheLinkUntilARevisionWithNotesIsChosenAgain)
{
    page.setRevisions ({ &withNotes, &withoutNotes });
    choose (0);
    ASSERT_TRUE (releaseNotesLink().isVisible());

    page.setRevisions ({ &newestRelease, &withoutNotes });
    dispatchPending();

    EXPECT_EQ (page.getSelectedRevision(), nullptr);
    EXPECT_EQ (versionCombo().getItemText (0), "2.0b (2011-01-02)");
    EXPECT_FALSE (releaseNotesLink().isVisible());

    choose (0);
    EXPECT_TRUE (releaseNotesLink().isVisible());
    EXPECT_EQ (releaseNotesLink().getAddress(), "http://127.0.0.1/notes/2.0b.html");
}

TEST_F (SelectUpdatePageTest, AnEmptyListOffersNoChoicesAndNoRevision)
{
    page.setRevisions ({ &withNotes });
    dispatchPending();

    page.setRevisions ({});
    dispatchPending();

    EXPECT_EQ (versionCombo().getNumItems(), 0);
    EXPECT_EQ (page.getSelectedRevision(), nullptr);
    EXPECT_FALSE (releaseNotesLink().isVisible());
}

TEST_F (SelectUpdatePageTest, ShowsTheLinkOnlyForAnHttpOrHttpsAddressWithAHost)
{
    struct Case { const char* address; bool shown; };

    const Case cases[] = {
        { "http://127.0.0.1/notes/1.2.html", true },
        { "https://updates.tesmar-audio.com/notes/1.2.html", true },
        { "/usr/bin/xcalc", false },
        { "file:///usr/bin/xcalc", false },
        { "xcalc", false },
        { "javascript:alert(1)", false },
        { "http://host/n.html\"; xcalc; \"", false },
        { "http://host/n.html`xcalc`", false },
        { "http:///notes.html", false },
    };

    for (const auto& c : cases)
    {
        const auto notes = revision ("1.2", "2009-05-20", c.address);
        page.setRevisions ({ &notes });
        dispatchPending();

        EXPECT_EQ (releaseNotesLink().isVisible(), c.shown) << c.address;
        EXPECT_EQ (releaseNotesLink().getAddress(), c.shown ? juce::String (c.address) : juce::String()) << c.address;

        // JUCE's own launcher, which goes through a shell, is never given an address.
        EXPECT_TRUE (releaseNotesLink().getURL().isEmpty()) << c.address;
    }
}

TEST_F (SelectUpdatePageTest, AClickStartsTheBrowserWithTheAddressAsOneArgumentAndNoShell)
{
    // A stand-in for xdg-open, found first on the PATH, that writes down its arguments.
    const LauncherFolder bin (true);
    const auto arguments = bin.file ("arguments");
    const auto marker = bin.file ("marker");
    bin.placeLauncher ("printf '%s|' \"$#\" \"$@\" > '" + arguments.getFullPathName() + "'");

    // Through a shell, the command substitution would create the marker.
    const auto address = "http://127.0.0.1/notes.html$(touch$IFS" + marker.getFullPathName() + ")";
    const auto notes = revision ("1.2", "2009-05-20", address);
    page.setRevisions ({ &notes });
    dispatchPending();

    child<juce::HyperlinkButton> (page, 2).triggerClick();
    const bool opened = MessageLoop::dispatchUntil ([&] { return arguments.loadFileAsString().isNotEmpty(); });

    ASSERT_TRUE (opened);
    EXPECT_EQ (arguments.loadFileAsString(), "1|" + address + "|");
    EXPECT_FALSE (marker.exists());
}

TEST_F (SelectUpdatePageTest, WhenNoBrowserStartsAMessageBoxOffersTheAddressAndTheLauncherIsReaped)
{
    struct Case
    {
        const char* name;
        const char* launcher; // shell lines of the xdg-open on the PATH, or none at all
        bool messageBox;
    };

    // clang-format off
    const Case cases[] = {
        { "no launcher on the PATH",           nullptr,  true },
        { "a launcher that finds no browser",  "exit 3", true },
        { "a launcher that opens the browser", "exit 0", false },
    };
    // clang-format on

    const auto address = "http://127.0.0.1/notes/1.2.html?a=1&b='2'";
    const auto notes = revision ("1.2", "2009-05-20", address);
    page.setRevisions ({ &notes });
    dispatchPending();

    for (const auto& c : cases)
    {
        const auto zombiesBefore = countZombieChildren();
        const LauncherFolder bin (false);
        const auto ran = bin.file ("ran");

        if (c.launcher != nullptr)
            bin.placeLauncher ("echo $$ > '" + ran.getFullPathName() + "'\n" + c.launcher);

        child<juce::HyperlinkButton> (page, 2).triggerClick();

        // Ended and reaped: a reaped process leaves /proc, a zombie stays there.
        auto launcherGone = [&]
        {
            const auto processId = ran.loadFileAsString().trim();
            return processId.isNotEmpty() && ! juce::File ("/proc/" + processId).exists();
        };

        MessageLoop::dispatchUntil ([&] { return shownMessageBox() != nullptr || (c.launcher != nullptr && launcherGone()); });
        MessageLoop::dispatchFor (200);

        auto* box = shownMessageBox();
        ASSERT_EQ (box != nullptr, c.messageBox) << c.name;

        if (c.launcher != nullptr)
            EXPECT_TRUE (launcherGone()) << c.name;

        EXPECT_LE (countZombieChildren(), zombiesBefore) << c.name;

        if (box == nullptr)
            continue;

        auto* field = ComponentFinder::findChild<juce::TextEditor> (*box);
        ASSERT_NE (field, nullptr) << c.name;
        EXPECT_EQ (field->getText(), address) << c.name;
        EXPECT_TRUE (field->isReadOnly()) << c.name;

        box->triggerButtonClick ("OK");
        EXPECT_TRUE (MessageLoop::dispatchUntil ([] { return shownMessageBox() == nullptr; })) << c.name;
    }
}
