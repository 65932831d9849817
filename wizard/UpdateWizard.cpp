#include "wizard/UpdateWizard.h"

#include "catalogue/TargetsInfoDownloadThread.h"
#include "flow/RevisionChoice.h"
#include "flow/ScanForDevicesThread.h"
#include "flow/UpdateFlow.h"
#include "flow/UpdateTexts.h"

namespace
{
    void setHeader (WizardPage& page, const juce::String& caption, const juce::String& description)
    {
        page.caption = caption;
        page.sendChangeMessage();
        page.description = description;
        page.sendChangeMessage();
    }

    // What an update worker reads from and writes into, kept together so that a worker
    // that does not end in time can keep all of it.
    struct UpdateInputs
    {
        std::shared_ptr<juce::OwnedArray<TargetDevice>> devices;
        std::shared_ptr<UpdateFlow> flow;
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
                                                         : showResults (UpdateOutcome::of (UpdateEnd::noDevices));
    else if (page == &selectDevicePage)
        showVersionFilterPage();
    else if (page == &versionFilterPage)
        showSelectUpdatePage();
    else if (page == &selectUpdatePage)
        showConfirmPage();
    else if (page == &confirmPage)
        selectedDevice->product.specialPreInstructions.isNotEmpty() ? showInstructionsPage() : runUpdate();
    else if (page == &instructionsPage)
        runUpdate();
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

    auto outcome = UpdateOutcome::of (UpdateEnd::cancelled);
    std::shared_ptr<TargetsInfo> catalogue;

    if (fetchCatalogue (catalogue, outcome) && scanForDevices (catalogue, outcome))
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
    showResults (outcome);
}

bool UpdateWizard::fetchCatalogue (std::shared_ptr<TargetsInfo>& catalogue, UpdateOutcome& outcome)
{
    const auto [result, thread] = runStep (scanPage, [this]
    {
        return std::make_unique<TargetsInfoDownloadThread> (environment.targetsSources(), &scanPage, &scanPage,
                                                            environment.catalogueSigner);
    });

    if (result == 0)
        return false;

    catalogue = thread->takeCatalogue();

    if (catalogue != nullptr)
    {
        imageSources = catalogue->cameFromLocalFile ? FileDownloader::Sources::webAndLocalFiles
                                                    : FileDownloader::Sources::webOnly;
        return true;
    }

    outcome = UpdateOutcome::ofCatalogueSearch (thread->getStatus(), thread->getErrorMessage());
    return false;
}

bool UpdateWizard::scanForDevices (std::shared_ptr<TargetsInfo> catalogue, UpdateOutcome& outcome)
{
    setHeader (scanPage, "Scanning...", "Please wait while we look for connected devices");

    const auto [result, thread] = runStep (scanPage, [this, &catalogue]
    {
        return std::make_unique<ScanForDevicesThread> (*catalogue, environment.midiPorts, environment.replyTimeouts,
                                                       &scanPage, &scanPage);
    }, catalogue);

    if (result == 0)
        return false;

    deviceList = thread->takeDevices();
    outcome = UpdateOutcome::of (UpdateEnd::noDevices);
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
        showResults (UpdateOutcome::of (UpdateEnd::noUpdate));
}

bool UpdateWizard::fillUpdateList()
{
    const bool newestOnly = versionFilterPage.isLatestOnly();
    const auto revisions = RevisionChoice::offered (*selectedDevice, newestOnly);

    // The full list is shown even when the product lists no revision at all.
    if (newestOnly && revisions.isEmpty())
        return false;

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
void UpdateWizard::runUpdate()
{
    setButtonsEnabled (false, AllButtons);
    showPage (&downloadPage);

    const auto flow = std::make_shared<UpdateFlow> (*selectedDevice, *selectedRevision, imageSources);
    runFlowStep (flow, downloadPage, &downloadPage, nullptr);

    if (flow->getStep() == UpdateFlow::Step::program && ! WorkerRunner::isQuitting())
    {
        showPage (&programPage);
        runFlowStep (flow, programPage, &programPage, &programPage);
    }

    if (! WorkerRunner::isQuitting())
        showResults (flow->getOutcome());
}

void UpdateWizard::runFlowStep (const std::shared_ptr<UpdateFlow>& flow, juce::Component& page,
                                StatusReporter* status, ProgressReporter* progress)
{
    auto inputs = std::make_shared<UpdateInputs> (UpdateInputs { deviceList, flow });
    const auto [result, worker] = runStep (page, [&] { return flow->makeWorker (&page, status, progress); },
                                           std::move (inputs));

    if (worker == nullptr)
        flow->workerAbandoned();
    else
        flow->workerEnded (*worker, result != 0);
}

void UpdateWizard::showResults (const UpdateOutcome& outcome)
{
    const auto page = outcome.getResultsPage();
    setHeader (resultsPage, UpdateTexts::caption (page), UpdateTexts::description (page));
    resultsPage.setDetails (UpdateTexts::body (page, outcome.details, outcome.postInstructions));

    setButtonsEnabled (true, DoneButton);
    setButtonsEnabled (false, BackButton);
    setButtonsEnabled (true, StartOverButton);
    setButtonsVisible (NextButton, false);
    showPage (&resultsPage);

    if (outcome.end != UpdateEnd::succeeded)
        setButtonsVisible (StartOverButton, true);
}
