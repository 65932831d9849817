#include "wizard/UpdateWizard.h"

#include "catalogue/TargetsInfoDownloadThread.h"
#include "wizard/DownloadImageThread.h"
#include "wizard/ScanForDevicesThread.h"
#include "wizard/UpdateThread.h"
#include "wizard/WorkerTimeouts.h"

namespace
{
    struct ResultTexts
    {
        const char* caption;
        const char* description;
    };

    ResultTexts textsFor (UpdateResult outcome)
    {
        switch (outcome)
        {
            case UpdateResult::UpdateFailed:       return { "Update Failed", "A failure occurred while updating the device's firmware" };
            case UpdateResult::UpdateSucceeded:    return { "Update Succeeded", "The update completed successfully" };
            case UpdateResult::NoDevicesFound:     return { "No Devices Were Found", "No supported devices were detected" };
            case UpdateResult::NoUpdatesFound:     return { "No Updates Were Found", "Your device's firmware is already up to date" };
            case UpdateResult::UnableToConnect:    return { "Unable to Connect", "A server connection could not be established" };
            case UpdateResult::InvalidTargetsFile: return { "Invalid Targets File", "The downloaded targets file is corrupt or invalid" };
            case UpdateResult::UpdateCancelled:    return { "Update Cancelled", "The update process was aborted" };
        }

        return { "", "" };
    }

    UpdateResult outcomeFor (TargetsResult result)
    {
        switch (result)
        {
            case TargetsResult::TargetsParseError: return UpdateResult::InvalidTargetsFile;
            case TargetsResult::TargetsEmpty:      return UpdateResult::NoUpdatesFound;
            case TargetsResult::TargetsOk:
            case TargetsResult::TargetsNotFound:   break;
        }

        return UpdateResult::UnableToConnect;
    }

    void setHeader (WizardPage& page, const juce::String& caption, const juce::String& description)
    {
        page.caption = caption;
        page.sendChangeMessage();
        page.description = description;
        page.sendChangeMessage();
    }
}

UpdateWizard::UpdateWizard (UpdateEnvironment environmentToUse)
    : environment (std::move (environmentToUse))
{
    restart();
    setSize (400, 272);
}

UpdateWizard::~UpdateWizard()
{
    deviceList.reset();
}

void UpdateWizard::paint (juce::Graphics& g)
{
    g.fillAll (juce::Colour (0xff313131));
    g.setColour (juce::Colour (0xff4c4c62));
    g.fillRect (0, 61, 400, 202);
}

//==============================================================================
void UpdateWizard::nextClicked()
{
    auto* page = currentPage();

    if (page == &welcomePage)
        runScan();
    else if (page == &scanPage)
        deviceList != nullptr && ! deviceList->isEmpty() ? showSelectDevicePage()
                                                         : showResults ({}, UpdateResult::NoDevicesFound);
    else if (page == &selectDevicePage)
        showVersionFilterPage();
    else if (page == &versionFilterPage)
        showSelectUpdatePage();
    else if (page == &selectUpdatePage)
        showConfirmPage();
    else if (page == &confirmPage)
        selectedDevice->product.specialPreInstructions.isNotEmpty() ? showInstructionsPage() : downloadImage();
    else if (page == &instructionsPage)
        downloadImage();
}

void UpdateWizard::backClicked()
{
    auto* page = currentPage();

    if (page == &scanPage || page == &selectDevicePage)
        restart();
    else if (page == &versionFilterPage)
        showSelectDevicePage();
    else if (page == &selectUpdatePage)
        showVersionFilterPage();
    else if (page == &confirmPage)
        showSelectUpdatePage();
    else if (page == &instructionsPage)
        showConfirmPage();
}

void UpdateWizard::doneClicked()
{
    environment.quit();
}

void UpdateWizard::startOverClicked()
{
    restart();
}

void UpdateWizard::changeListenerCallback (juce::ChangeBroadcaster* source)
{
    WizardComponent::changeListenerCallback (source);

    auto* page = currentPage();

    if (page == nullptr || source != page)
        return;

    if (page == &selectDevicePage)
        deviceSelectionChanged();
    else if (page == &selectUpdatePage)
        updateSelectionChanged();
    else if (page == &confirmPage)
        confirmationChanged();
}

void UpdateWizard::restart()
{
    // The update list borrows revisions of the devices that are about to go.
    selectUpdatePage.setRevisions ({});
    deviceList.reset();
    selectedDevice = nullptr;
    selectedRevision = nullptr;

    setButtonsVisible (StartOverButton, false);
    setButtonsVisible (NextButton, true);
    setButtonsEnabled (false, BackButton);
    setButtonsEnabled (true, NextButton);
    showPage (&welcomePage);
}

//==============================================================================
void UpdateWizard::runScan()
{
    setButtonsEnabled (false, AllButtons);
    showPage (&scanPage);
    juce::MouseCursor::showWaitCursor();

    juce::String details;
    auto outcome = UpdateResult::UpdateCancelled;
    std::unique_ptr<TargetsInfo> catalogue;

    if (fetchCatalogue (catalogue, outcome, details) && scanForDevices (*catalogue, outcome))
    {
        juce::StringArray names;

        for (auto* device : *deviceList)
            names.add (device->getDisplayName());

        selectDevicePage.setDeviceNames (names);
        juce::MouseCursor::hideWaitCursor();
        showSelectDevicePage();
        return;
    }

    if (applicationIsQuitting())
        return;

    juce::MouseCursor::hideWaitCursor();
    setButtonsEnabled (true, AllButtons);
    showResults (details, outcome);
}

bool UpdateWizard::fetchCatalogue (std::unique_ptr<TargetsInfo>& catalogue, UpdateResult& outcome, juce::String& details)
{
    scanPage.enterModalState (false);
    TargetsInfoDownloadThread thread (environment.targetsSources(), &scanPage, &scanPage);

    if (runWorkerOnPage (thread, scanPage) == 0)
    {
        outcome = UpdateResult::UpdateCancelled;
        return false;
    }

    catalogue = thread.takeCatalogue();

    if (catalogue != nullptr)
        return true;

    outcome = outcomeFor (thread.getStatus());

    if (outcome == UpdateResult::InvalidTargetsFile)
        details = thread.getErrorMessage();

    return false;
}

bool UpdateWizard::scanForDevices (const TargetsInfo& catalogue, UpdateResult& outcome)
{
    scanPage.enterModalState (false);
    ScanForDevicesThread thread (catalogue, environment.midiPorts, &scanPage, &scanPage);
    setHeader (scanPage, "Scanning...", "Please wait while we look for connected devices");

    if (runWorkerOnPage (thread, scanPage) == 0)
    {
        outcome = UpdateResult::UpdateCancelled;
        return false;
    }

    deviceList = thread.takeDevices();
    outcome = UpdateResult::NoDevicesFound;
    return deviceList != nullptr;
}

void UpdateWizard::showSelectDevicePage()
{
    setButtonsEnabled (true, AllButtons);
    showPage (&selectDevicePage);
    deviceSelectionChanged();
}

void UpdateWizard::deviceSelectionChanged()
{
    const int index = selectDevicePage.getSelectedDeviceIndex();
    setButtonsEnabled (index >= 0, NextButton);
    selectedDevice = deviceList != nullptr ? (*deviceList)[index] : nullptr;
}

void UpdateWizard::showVersionFilterPage()
{
    setButtonsEnabled (true, AllButtons);
    showPage (&versionFilterPage);
}

void UpdateWizard::showSelectUpdatePage()
{
    setButtonsEnabled (true, AllButtons);
    showPage (&selectUpdatePage);

    if (fillUpdateList())
        updateSelectionChanged();
    else
        showResults ({}, UpdateResult::NoUpdatesFound);
}

bool UpdateWizard::fillUpdateList()
{
    juce::Array<const TargetRevision*> revisions;

    if (! versionFilterPage.isLatestOnly())
    {
        for (auto* revision : selectedDevice->product.revisions)
            revisions.add (revision);
    }
    else if (auto* newest = selectedDevice->findNewestUpdate())
    {
        revisions.add (newest);
    }
    else
    {
        return false;
    }

    selectUpdatePage.setRevisions (revisions);
    return true;
}

void UpdateWizard::updateSelectionChanged()
{
    selectedRevision = selectUpdatePage.getSelectedRevision();
    setButtonsEnabled (selectedRevision != nullptr, NextButton);
}

void UpdateWizard::showConfirmPage()
{
    setButtonsEnabled (true, AllButtons);
    confirmPage.setMessage ("Are you sure you want to update the device: " + selectedDevice->getDisplayName()
                            + " to firmware version " + selectedRevision->version + "?");
    showPage (&confirmPage);
    confirmationChanged();
}

void UpdateWizard::confirmationChanged()
{
    setButtonsEnabled (confirmPage.isAcknowledged(), NextButton);
}

void UpdateWizard::showInstructionsPage()
{
    setButtonsEnabled (true, AllButtons);
    instructionsPage.setInstructions (selectedDevice->product.specialPreInstructions);
    showPage (&instructionsPage);
}

//==============================================================================
void UpdateWizard::downloadImage()
{
    setButtonsEnabled (false, AllButtons);
    showPage (&downloadPage);
    juce::MouseCursor::showWaitCursor();

    downloadPage.enterModalState (false);
    DownloadImageThread thread (selectedRevision->imageUrl, &downloadPage, &downloadPage);
    const int result = runWorkerOnPage (thread, downloadPage);

    if (applicationIsQuitting())
        return;

    if (result == 0)
        showResults ({}, UpdateResult::UpdateCancelled);
    else if (auto image = thread.takeImage())
        programDevice (*image);
    else
        showResults ({}, UpdateResult::UnableToConnect);
}

void UpdateWizard::programDevice (const juce::MemoryBlock& image)
{
    setButtonsEnabled (false, AllButtons);
    showPage (&programPage);
    juce::MouseCursor::showWaitCursor();

    juce::MemoryInputStream stream (image, false);
    programPage.enterModalState (false);
    UpdateThread thread (*selectedDevice, stream, &programPage, &programPage, &programPage);
    runWorkerOnPage (thread, programPage);

    if (applicationIsQuitting())
        return;

    if (thread.getStatus() == UpdateThread::UpdateOk)
        showResults ({}, UpdateResult::UpdateSucceeded);
    else
        showResults (thread.getErrorMessage(), UpdateResult::UpdateFailed);
}

void UpdateWizard::showResults (const juce::String& details, UpdateResult outcome)
{
    const auto texts = textsFor (outcome);
    setHeader (resultsPage, texts.caption, texts.description);

    switch (outcome)
    {
        case UpdateResult::UpdateSucceeded:
            resultsPage.setDetails (selectedRevision->specialPostInstructions.isNotEmpty()
                                        ? selectedRevision->specialPostInstructions
                                        : "Your device is now ready to use");
            break;
        case UpdateResult::NoDevicesFound:
            resultsPage.setDetails ("Please verify that a compatible device is:\n\t-Connected to your computer\n"
                                    "\t-Powered on\n\t-Not being used by another application");
            break;
        case UpdateResult::NoUpdatesFound:
            resultsPage.setDetails ("There are no updates available for your device at this time. "
                                    "Please check back periodically.");
            break;
        case UpdateResult::UnableToConnect:
            resultsPage.setDetails ("A connection to the remote server could not be established. The server may be "
                                    "temporarily unavailable or you may need to manually connect to the internet first.");
            break;
        case UpdateResult::UpdateFailed:
        case UpdateResult::InvalidTargetsFile:
        case UpdateResult::UpdateCancelled:
            resultsPage.setDetails (details);
            break;
    }

    setButtonsEnabled (true, DoneButton);
    setButtonsEnabled (false, BackButton);
    setButtonsEnabled (true, StartOverButton);
    setButtonsVisible (NextButton, false);
    showPage (&resultsPage);
    juce::MouseCursor::hideWaitCursor();

    if (outcome != UpdateResult::UpdateSucceeded)
        setButtonsVisible (StartOverButton, true);
}

//==============================================================================
int UpdateWizard::runWorkerOnPage (juce::Thread& worker, juce::Component& page)
{
    // The page entered its modal state before the worker was made, so that a worker
    // that finishes at once cannot lose its end of that state.
    worker.startThread();
    const int result = page.runModalLoop();

    // A loop left while the page is still modal was left because the application is
    // quitting: the worker is not wanted any more.
    if (page.isCurrentlyModal (false))
    {
        page.exitModalState (0);
        worker.signalThreadShouldExit();
    }

    // Results are read only from a worker that has ended: one that has not ended
    // by itself in time is told to stop, and every wait of a worker wakes up then.
    if (! worker.waitForThreadToExit (WorkerTimeouts::graceMs))
        worker.stopThread (WorkerTimeouts::stopMs);

    return applicationIsQuitting() ? 0 : result;
}

bool UpdateWizard::applicationIsQuitting()
{
    return juce::MessageManager::getInstance()->hasStopMessageBeenSent();
}
