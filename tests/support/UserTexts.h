#pragma once

// The texts a user reads, as the tests expect them. They are written out here rather
// than taken from the program, so that a text changed in the program fails a test.
// Spelling mistakes included: the program has always shown them.
namespace UserTexts
{
    // The frame's buttons, and the controls of the pages.
    constexpr auto next = "Next >";
    constexpr auto back = "< Back";
    constexpr auto startOver = "<< Start Over";
    constexpr auto done = "Done";
    constexpr auto cancel = "Cancel";
    constexpr auto confirmation = "Yes, I realize my settings may be lost. I want to proceed.";
    constexpr auto latestVersionOnly = "Only show the latest version newer than mine (recommended)";
    constexpr auto allVersions = "Show all available versions";

    // Page captions, in the order of a run.
    constexpr auto welcome = "Welcome";
    constexpr auto foundDevices = "Found Devices";
    constexpr auto versionFiltering = "Version Filtering";
    constexpr auto updatesAvailable = "Updates are Available";
    constexpr auto confirm = "Confirm";
    constexpr auto prepareToUpdate = "Prepare to Update";

    // Results pages: caption, description, and the body where it is fixed.
    constexpr auto updateSucceeded = "Update Succeeded";
    constexpr auto readyToUse = "Your device is now ready to use";
    constexpr auto updateFailed = "Update Failed";
    constexpr auto updateFailedDescription = "A failure occurred while updating the device's firmware";
    constexpr auto updateCancelled = "Update Cancelled";
    constexpr auto noDevicesFound = "No Devices Were Found";
    constexpr auto noDevicesDescription = "No supported devices were detected";
    constexpr auto noDevicesBody = "Please verify that a compatible device is:\n\t-Connected to your computer\n"
                                   "\t-Powered on\n\t-Not being used by another application";
    constexpr auto noUpdatesFound = "No Updates Were Found";
    constexpr auto noUpdatesDescription = "Your device's firmware is already up to date";
    constexpr auto noUpdatesBody = "There are no updates available for your device at this time. "
                                   "Please check back periodically.";
    constexpr auto unableToConnect = "Unable to Connect";
    constexpr auto unableToConnectDescription = "A server connection could not be established";
    constexpr auto unableToConnectBody = "A connection to the remote server could not be established. The server may be "
                                         "temporarily unavailable or you may need to manually connect to the internet first.";
    constexpr auto invalidTargetsFile = "Invalid Targets File";
    constexpr auto invalidTargetsFileDescription = "The downloaded targets file is corrupt or invalid";

    // Failure reasons shown on the results page.
    constexpr auto noResponse = "No reponse was received from the device";
    constexpr auto endOfFile = "Unexpected end of file encoutered";

    // Status lines of the download and update steps.
    constexpr auto locatingTargetsFile = "Locating targets file...";
    constexpr auto connecting = "Connecting...";
    constexpr auto downloadComplete = "Download is complete";
    constexpr auto downloadAborted = "Download was aborted";
    constexpr auto initializingDevice = "Initializing the device...";
    constexpr auto updateComplete = "Update is complete";
    constexpr auto updateFailedStatus = "Update failed";
}
