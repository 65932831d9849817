#include "wizard/UpdateWizard.h"

#include "catalogue/TargetsInfoDownloadThread.h"
#include "flow/DownloadImageThread.h"
#include "flow/ScanForDevicesThread.h"
#include "flow/UpdateOutcome.h"
#include "flow/UpdateTexts.h"
#include "flow/UpdateThread.h"

namespace
{
    void setHeader (WizardPage& page, const juce::String& caption, const juce::String& description)
    {
        page.caption = caption;
        page.sendChangeMessage();
        page.description = description;
        page.sendChangeMessage();
    }

    // What an update worker reads from, kept together so that a worker that does not
    // end in time can keep all of it.
    struct ProgrammingInputs
    {
        ProgrammingInputs (std::shared_ptr<juce::OwnedArray<TargetDevice>> devicesToKeep,
                           std::unique_ptr<juce::MemoryBlock> imageToWrite)
            : devices (std::move (devicesToKeep)),
              image (std::move (imageToWrite)),
              stream (*image, false)
        {
        }

        const std::shared_ptr<juce::OwnedArray<TargetDevice>> devices;
        const std::unique_ptr<juce::MemoryBlock> image;
        juce::MemoryInputStream stream;
    };
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
// The wait cursor shows exactly while a worker runs, whichever way its step ends.
// JUCE's showWaitCursor would not do: the next movement of the mouse puts the cursor
// of the component under it back.
template <typename MakeWorker>
auto UpdateWizard::runStep (juce::Component& page, MakeWorker&& makeWorker, std::shared_ptr<void> borrowed)
{
    setWaiting (true);
    const juce::ScopeGuard waitEnds { [this] { setWaiting (false); } };
    return workers.runOnPage (page, std::forward<MakeWorker> (makeWorker), std::move (borrowed));
}

void UpdateWizard::runScan()
{
    setButtonsEnabled (false, AllButtons);
    showPage (&scanPage);

    juce::String details;
    auto outcome = UpdateResult::UpdateCancelled;
    std::shared_ptr<TargetsInfo> catalogue;

    if (fetchCatalogue (catalogue, outcome, details) && scanForDevices (catalogue, outcome))
    {
        juce::StringArray names;

        for (auto* device : *deviceList)
            names.add (device->getDisplayName());

        selectDevicePage.setDeviceNames (names);
        showSelectDevicePage();
        return;
    }

    if (WorkerRunner::isQuitting())
        return;

    setButtonsEnabled (true, AllButtons);
    showResults (details, outcome);
}

bool UpdateWizard::fetchCatalogue (std::shared_ptr<TargetsInfo>& catalogue, UpdateResult& outcome, juce::String& details)
{
    const auto [result, thread] = runStep (scanPage, [this]
    {
        return std::make_unique<TargetsInfoDownloadThread> (environment.targetsSources(), &scanPage, &scanPage,
                                                            environment.catalogueSigner);
    });

    if (result == 0)
    {
        outcome = UpdateResult::UpdateCancelled;
        return false;
    }

    catalogue = thread->takeCatalogue();

    if (catalogue != nullptr)
    {
        imageSources = catalogue->cameFromLocalFile ? FileDownloader::Sources::webAndLocalFiles
                                                    : FileDownloader::Sources::webOnly;
        return true;
    }

    outcome = UpdateOutcome::ofCatalogueSearch (thread->getStatus(), {}).getResultsPage();

    if (outcome == UpdateResult::InvalidTargetsFile)
        details = thread->getErrorMessage();

    return false;
}

bool UpdateWizard::scanForDevices (std::shared_ptr<TargetsInfo> catalogue, UpdateResult& outcome)
{
    setHeader (scanPage, "Scanning...", "Please wait while we look for connected devices");

    const auto [result, thread] = runStep (scanPage, [this, &catalogue]
    {
        return std::make_unique<ScanForDevicesThread> (*catalogue, environment.midiPorts, environment.replyTimeouts,
                                                       &scanPage, &scanPage);
    }, catalogue);

    if (result == 0)
    {
        outcome = UpdateResult::UpdateCancelled;
        return false;
    }

    deviceList = thread->takeDevices();
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
    confirmPage.setMessage (UpdateTexts::confirmationQuestion (selectedDevice->getDisplayName(), selectedRevision->version));
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

    const auto [result, thread] = runStep (downloadPage, [this]
    {
        return std::make_unique<DownloadImageThread> (selectedRevision->imageUrl, imageSources,
                                                      &downloadPage, &downloadPage,
                                                      ExpectedImage (*selectedRevision));
    });

    if (WorkerRunner::isQuitting())
        return;

    if (result == 0)
        showResults ({}, UpdateResult::UpdateCancelled);
    else if (thread->getStatus() == DownloadImageThread::ImageRefused
             || thread->getStatus() == DownloadImageThread::ImageMismatched)
        showResults (thread->getErrorMessage(), UpdateResult::UpdateFailed);
    else if (auto image = thread->takeImage())
        programDevice (std::move (image));
    else
        showResults ({}, UpdateResult::UnableToConnect);
}

void UpdateWizard::programDevice (std::unique_ptr<juce::MemoryBlock> image)
{
    setButtonsEnabled (false, AllButtons);
    showPage (&programPage);

    auto inputs = std::make_shared<ProgrammingInputs> (deviceList, std::move (image));
    const auto thread = runStep (programPage, [this, &inputs]
    {
        return std::make_unique<UpdateThread> (*selectedDevice, inputs->stream, &programPage, &programPage, &programPage);
    }, inputs).worker;

    if (WorkerRunner::isQuitting())
        return;

    if (thread == nullptr)
        showResults ("The device did not finish in time", UpdateResult::UpdateFailed);
    else if (thread->getStatus() == UpdateThread::UpdateOk)
        showResults ({}, UpdateResult::UpdateSucceeded);
    else
        showResults (thread->getErrorMessage(), UpdateResult::UpdateFailed);
}

void UpdateWizard::showResults (const juce::String& details, UpdateResult outcome)
{
    setHeader (resultsPage, UpdateTexts::caption (outcome), UpdateTexts::description (outcome));

    // Only a success has a revision to take the instructions from.
    const auto postInstructions = outcome == UpdateResult::UpdateSucceeded ? selectedRevision->specialPostInstructions
                                                                           : juce::String();
    resultsPage.setDetails (UpdateTexts::body (outcome, details, postInstructions));

    setButtonsEnabled (true, DoneButton);
    setButtonsEnabled (false, BackButton);
    setButtonsEnabled (true, StartOverButton);
    setButtonsVisible (NextButton, false);
    showPage (&resultsPage);

    if (outcome != UpdateResult::UpdateSucceeded)
        setButtonsVisible (StartOverButton, true);
}
