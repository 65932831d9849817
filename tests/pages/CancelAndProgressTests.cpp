#include <gtest/gtest.h>

#include "app/QuillonLookAndFeel.h"
#include "handover/ModalStateTracker.h"
#include "tests/support/ComponentFinder.h"
#include "tests/support/FunctionThread.h"
#include "tests/support/JucePrinters.h"
#include "tests/support/MessageLoop.h"
#include "wizard/pages/DownloadImagePage.h"
#include "wizard/pages/ProgramDevicePage.h"
#include "wizard/pages/ScanPage.h"

using ComponentFinder::firstChild;

template <typename Page>
class CancellablePages : public ::testing::Test
{
protected:
    juce::TextButton& cancelButton() { return firstChild<juce::TextButton> (page); }

    Page page;
};

using PagesWithCancel = ::testing::Types<ScanPage, DownloadImagePage>;

TYPED_TEST_SUITE (CancellablePages, PagesWithCancel);

TYPED_TEST (CancellablePages, CancelEndsTheModalLoopWithZeroAndTheWorkerSeesItAtItsNextCheck)
{
    this->page.enterModalState (false);
    ModalStateTracker pageState (this->page);
    std::atomic<bool> sawCancel { false };

    // Plays a download that checks for a cancel between chunks, as the workers do.
    FunctionThread worker ([&]
    {
        while (pageState.isStillModal() && ! juce::Thread::currentThreadShouldExit())
            juce::Thread::sleep (5);

        sawCancel = ! pageState.isStillModal();
    });

    worker.startThread();
    this->cancelButton().triggerClick();

    EXPECT_EQ (this->page.runModalLoop(), 0);
    EXPECT_TRUE (worker.waitForThreadToExit (5000));
    EXPECT_TRUE (sawCancel);
}

/** Reads what a page's progress bar draws, with the program's look and feel. */
template <typename Page>
class ProgressBarPixels : public ::testing::Test
{
protected:
    ProgressBarPixels()
    {
        page.setLookAndFeel (&lookAndFeel);
        page.setVisible (true);
    }
    ~ProgressBarPixels() { page.setLookAndFeel (nullptr); }

    // True when column x of the bar shows nothing but the bar's empty background.
    bool columnIsEmpty (int x)
    {
        auto& bar = firstChild<juce::ProgressBar> (page);
        const auto image = bar.createComponentSnapshot (bar.getLocalBounds(), false);

        for (int y = 0; y < image.getHeight(); ++y)
            if (image.getPixelAt (x, y).getARGB() != bar.findColour (juce::ProgressBar::backgroundColourId).getARGB())
                return false;

        return true;
    }

    bool showsAFractionOfAboutHalf() { return ! columnIsEmpty (40) && columnIsEmpty (300); }
    bool showsActivity() { return ! columnIsEmpty (40) && ! columnIsEmpty (300); }

    QuillonLookAndFeel lookAndFeel;
    Page page;
};

using ProgramDevicePageBar = ProgressBarPixels<ProgramDevicePage>;
using DownloadImagePageBar = ProgressBarPixels<DownloadImagePage>;

TEST_F (ProgramDevicePageBar, StartsShowingActivityWithoutAFraction)
{
    EXPECT_TRUE (MessageLoop::dispatchUntil ([this] { return showsActivity(); }));
}

TEST_F (ProgramDevicePageBar, ShowsHalfAFilledBarForOneHalfAndActivityAgainForMinusOne)
{
    page.reportProgress (0.5);
    EXPECT_TRUE (MessageLoop::dispatchUntil ([this] { return showsAFractionOfAboutHalf(); }));

    page.reportProgress (-1.0);
    EXPECT_TRUE (MessageLoop::dispatchUntil ([this] { return showsActivity(); }));
}

TEST_F (ProgramDevicePageBar, TakesProgressReportedByAWorkerThread)
{
    FunctionThread worker ([this] { page.reportProgress (0.5); });
    worker.startThread();

    EXPECT_TRUE (MessageLoop::dispatchUntil ([this] { return showsAFractionOfAboutHalf(); }));
}

TEST_F (DownloadImagePageBar, ShowsActivityWithoutAFractionForTheWholeDownload)
{
    page.reportStatus ("Downloaded 700 KB...");

    EXPECT_TRUE (MessageLoop::dispatchUntil ([this] { return showsActivity(); }));
}
