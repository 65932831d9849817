#pragma once

#include "catalogue/FileDownloader.h"
#include "device/TargetDevice.h"
#include "wizard/UpdateEnvironment.h"
#include "flow/UpdateOutcome.h"
#include "wizard/WizardComponent.h"
#include "wizard/WorkerRunner.h"
#include "wizard/pages/ConfirmPage.h"
#include "wizard/pages/DownloadImagePage.h"
#include "wizard/pages/PreUpdateInstructionsPage.h"
#include "wizard/pages/ProgramDevicePage.h"
#include "wizard/pages/ResultsPage.h"
#include "wizard/pages/ScanPage.h"
#include "wizard/pages/SelectDevicePage.h"
#include "wizard/pages/SelectUpdatePage.h"
#include "wizard/pages/SelectVersionFilterPage.h"
#include "wizard/pages/WelcomePage.h"

class TargetsInfo;
class UpdateFlow;

/** The update flow: welcome, fetch the catalogue and scan for devices, choose a
    device, a version filter and a revision, confirm, read any instructions, download
    the image, program the device, and show how it ended.

    It decides, for every button and every choice on a page, which page comes next and
    which buttons are offered, and runs each long step on a worker while that step's
    page sits in its modal loop. Message thread only.
*/
class UpdateWizard : public WizardComponent
{
public:
    explicit UpdateWizard (UpdateEnvironment environment);
    ~UpdateWizard() override;

    void paint (juce::Graphics&) override;

    void nextClicked() override;
    void backClicked() override;
    void doneClicked() override;
    void startOverClicked() override;

    void changeListenerCallback (juce::ChangeBroadcaster* source) override;

    /** Back to the welcome page with no devices and no choices. */
    void restart();

    /** The devices of the last scan; nullptr before a scan found any. */
    const juce::OwnedArray<TargetDevice>* getDevices() const noexcept { return deviceList.get(); }

    /** How many workers that did not end in time are still running. */
    int countUnfinishedWorkers() { return workers.countUnfinished(); }

private:
    using DeviceList = juce::OwnedArray<TargetDevice>;

    template <typename MakeWorker>
    auto runStep (juce::Component& page, MakeWorker&& makeWorker, std::shared_ptr<void> borrowed = {});

    void runScan();
    bool fetchCatalogue (std::shared_ptr<TargetsInfo>& catalogue, UpdateOutcome& outcome);
    bool scanForDevices (std::shared_ptr<TargetsInfo> catalogue, UpdateOutcome& outcome);
    void showSelectDevicePage();
    void deviceSelectionChanged();
    void showVersionFilterPage();
    void showSelectUpdatePage();
    bool fillUpdateList();
    void updateSelectionChanged();
    void showConfirmPage();
    void confirmationChanged();
    void showInstructionsPage();
    void runUpdate();
    void runFlowStep (const std::shared_ptr<UpdateFlow>& flow, juce::Component& page,
                      StatusReporter* status, ProgressReporter* progress);
    void showResults (const UpdateOutcome& outcome);

    const UpdateEnvironment environment;

    WelcomePage welcomePage;
    ScanPage scanPage;
    SelectDevicePage selectDevicePage;
    SelectVersionFilterPage versionFilterPage;
    SelectUpdatePage selectUpdatePage;
    ConfirmPage confirmPage;
    DownloadImagePage downloadPage;
    PreUpdateInstructionsPage instructionsPage;
    ProgramDevicePage programPage;
    ResultsPage resultsPage;

    // Shared with an update worker that does not end in time, which keeps its device.
    std::shared_ptr<DeviceList> deviceList;
    TargetDevice* selectedDevice = nullptr;
    const TargetRevision* selectedRevision = nullptr;

    // Only a catalogue the user put beside the program may name images on this computer.
    FileDownloader::Sources imageSources = FileDownloader::Sources::webOnly;

    // Last, so that it goes first: a worker it still keeps reports to the pages above.
    WorkerRunner workers;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (UpdateWizard)
};
