#include "flow/UpdateTexts.h"

namespace
{
    struct Header
    {
        const char* caption;
        const char* description;
    };

    Header headerFor (UpdateResult outcome)
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
}

juce::String UpdateTexts::caption (UpdateResult outcome)
{
    return headerFor (outcome).caption;
}

juce::String UpdateTexts::description (UpdateResult outcome)
{
    return headerFor (outcome).description;
}

juce::String UpdateTexts::body (UpdateResult outcome, const juce::String& details, const juce::String& postInstructions)
{
    switch (outcome)
    {
        case UpdateResult::UpdateSucceeded:
            return postInstructions.isNotEmpty() ? postInstructions : "Your device is now ready to use";
        case UpdateResult::NoDevicesFound:
            return "Please verify that a compatible device is:\n\t-Connected to your computer\n"
                   "\t-Powered on\n\t-Not being used by another application";
        case UpdateResult::NoUpdatesFound:
            return "There are no updates available for your device at this time. "
                   "Please check back periodically.";
        case UpdateResult::UnableToConnect:
            return "A connection to the remote server could not be established. The server may be "
                   "temporarily unavailable or you may need to manually connect to the internet first.";
        case UpdateResult::UpdateFailed:
        case UpdateResult::InvalidTargetsFile:
        case UpdateResult::UpdateCancelled:
            break;
    }

    return details;
}

juce::String UpdateTexts::confirmationQuestion (const juce::String& deviceName, const juce::String& version)
{
    return "Are you sure you want to update the device: " + deviceName + " to firmware version " + version + "?";
}
