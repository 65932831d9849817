#include <gtest/gtest.h>

#include "tests/support/ComponentFinder.h"
#include "tests/support/FunctionThread.h"
#include "tests/support/JucePrinters.h"
#include "tests/support/MessageLoop.h"
#include "tests/support/UserTexts.h"
#include "wizard/pages/DownloadImagePage.h"
#include "wizard/pages/ProgramDevicePage.h"
#include "wizard/pages/ScanPage.h"

using ComponentFinder::child;
using ComponentFinder::firstChild;

namespace
{
    // Counts the label's own change notifications, which a status must not send.
    struct LabelChangeCounter : juce::Label::Listener
    {
        void labelTextChanged (juce::Label*) override { ++count; }
        int count = 0;
    };
}

template <typename Page>
class StatusPages : public ::testing::Test
{
protected:
    juce::Label& statusLabel() { return child<juce::Label> (page, 0); }

    Page page;
};

using PagesThatReportStatus = ::testing::Types<ScanPage, DownloadImagePage, ProgramDevicePage>;

TYPED_TEST_SUITE (StatusPages, PagesThatReportStatus);

TYPED_TEST (StatusPages, ShowAStatusReportedOnTheMessageThreadAtOnceWithoutTheLabelsNotification)
{
    LabelChangeCounter labelChanges;
    this->statusLabel().addListener (&labelChanges);

    this->page.reportStatus ("Identifying devices...");

    EXPECT_EQ (this->statusLabel().getText(), "Identifying devices...");
    MessageLoop::dispatchPending();
    EXPECT_EQ (labelChanges.count, 0);
    this->statusLabel().removeListener (&labelChanges);
}

TYPED_TEST (StatusPages, ShowEachStatusAWorkerReportsDuringTheModalLoopBeforeItGoesOn)
{
    std::atomic<int> reported { 0 };
    juce::StringArray seenByTheMessageThread;
    StatusReporter& reporter = this->page;

    FunctionThread worker ([&]
    {
        for (auto text : { "Connecting...", "Downloaded 512 bytes...", "Download is complete" })
        {
            reporter.reportStatus (text);

            // The text is on the label by now; look at it from the message thread.
            juce::MessageManager::callAsync ([&] { seenByTheMessageThread.add (this->statusLabel().getText()); });
            ++reported;
        }

        juce::MessageManager::callAsync ([&] { this->page.exitModalState (1); });
    });

    this->page.enterModalState (false);
    worker.startThread();

    EXPECT_EQ (this->page.runModalLoop(), 1);
    EXPECT_EQ (reported, 3);
    EXPECT_EQ (seenByTheMessageThread,
               juce::StringArray ({ "Connecting...", "Downloaded 512 bytes...", "Download is complete" }));
}

TEST (ScanPage, CarriesItsCaptionDescriptionAndChildren)
{
    ScanPage page;

    EXPECT_EQ (page.caption, "Downloading Update Information...");
    EXPECT_EQ (page.description, "Checking for available firmware updates");
    ASSERT_EQ (page.getNumChildComponents(), 2);

    auto& label = child<juce::Label> (page, 0);
    EXPECT_EQ (label.getName(), "");
    EXPECT_EQ (label.getText(), "label text");
    EXPECT_EQ (label.getBounds(), juce::Rectangle<int> (40, 64, 150, 24));

    auto& cancel = child<juce::TextButton> (page, 1);
    EXPECT_EQ (cancel.getName(), "");
    EXPECT_EQ (cancel.getTooltip(), "");
    EXPECT_EQ (cancel.getButtonText(), UserTexts::cancel);
    EXPECT_EQ (cancel.getBounds(), juce::Rectangle<int> (40, 120, 72, 32));
}

TEST (DownloadImagePage, CarriesItsCaptionDescriptionAndChildren)
{
    DownloadImagePage page;

    EXPECT_EQ (page.caption, "Downloading File...");
    EXPECT_EQ (page.description, "The image file is being downloaded from the server");
    ASSERT_EQ (page.getNumChildComponents(), 3);

    auto& label = child<juce::Label> (page, 0);
    EXPECT_EQ (label.getName(), "");
    EXPECT_EQ (label.getText(), "[status]");
    EXPECT_EQ (label.getBounds(), juce::Rectangle<int> (40, 64, 320, 24));

    EXPECT_EQ (child<juce::ProgressBar> (page, 1).getBounds(), juce::Rectangle<int> (40, 96, 320, 16));

    auto& cancel = child<juce::TextButton> (page, 2);
    EXPECT_EQ (cancel.getName(), "");
    EXPECT_EQ (cancel.getTooltip(), "");
    EXPECT_EQ (cancel.getButtonText(), UserTexts::cancel);
    EXPECT_EQ (cancel.getBounds(), juce::Rectangle<int> (40, 136, 72, 32));
}

TEST (ProgramDevicePage, CarriesItsCaptionDescriptionAndChildrenAndNoCancel)
{
    ProgramDevicePage page;

    EXPECT_EQ (page.caption, "Updating...");
    EXPECT_EQ (page.description, "Please wait while your device's firmware is updated");
    ASSERT_EQ (page.getNumChildComponents(), 2);

    auto& label = child<juce::Label> (page, 0);
    EXPECT_EQ (label.getName(), "");
    EXPECT_EQ (label.getText(), "[status]");
    EXPECT_EQ (label.getBounds(), juce::Rectangle<int> (40, 64, 304, 24));

    EXPECT_EQ (child<juce::ProgressBar> (page, 1).getBounds(), juce::Rectangle<int> (40, 96, 320, 16));
}
