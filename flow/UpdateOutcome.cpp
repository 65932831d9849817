#include "flow/UpdateOutcome.h"

UpdateResult UpdateOutcome::getResultsPage() const noexcept
{
    switch (end)
    {
        case UpdateEnd::succeeded:             return UpdateResult::UpdateSucceeded;
        case UpdateEnd::catalogueUnreachable:  return UpdateResult::UnableToConnect;
        case UpdateEnd::catalogueInvalid:      return UpdateResult::InvalidTargetsFile;
        case UpdateEnd::catalogueEmpty:        return UpdateResult::NoUpdatesFound;
        case UpdateEnd::noDevices:             return UpdateResult::NoDevicesFound;
        case UpdateEnd::noUpdate:              return UpdateResult::NoUpdatesFound;
        case UpdateEnd::imageUnreachable:      return UpdateResult::UnableToConnect;
        case UpdateEnd::imageRefused:          return UpdateResult::UpdateFailed;
        case UpdateEnd::programmingFailed:     return UpdateResult::UpdateFailed;
        case UpdateEnd::programmingUnfinished: return UpdateResult::UpdateFailed;
        case UpdateEnd::cancelled:             return UpdateResult::UpdateCancelled;
    }

    return UpdateResult::UpdateFailed;
}

UpdateOutcome UpdateOutcome::of (UpdateEnd end)
{
    return { end, {}, {}, {} };
}

UpdateOutcome UpdateOutcome::ofCatalogueSearch (TargetsResult result, const juce::String& errorMessage)
{
    switch (result)
    {
        case TargetsResult::TargetsParseError: return { UpdateEnd::catalogueInvalid, errorMessage, {}, {} };
        case TargetsResult::TargetsEmpty:      return of (UpdateEnd::catalogueEmpty);
        case TargetsResult::TargetsOk:
        case TargetsResult::TargetsNotFound:   break;
    }

    return of (UpdateEnd::catalogueUnreachable);
}
