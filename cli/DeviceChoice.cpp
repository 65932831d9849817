#include "cli/DeviceChoice.h"

#include "cli/TerminalText.h"
#include "flow/RevisionChoice.h"

DeviceChoice::DeviceChoice (const juce::OwnedArray<TargetDevice>& devicesFound, const juce::StringArray& names,
                            const juce::String& version)
    : devices (devicesFound)
{
    if (names.isEmpty())
        chooseEvery (version);
    else
        chooseNamed (names, version);

    if (failure.has_value())
        entries.clear();
}

void DeviceChoice::chooseEvery (const juce::String& version)
{
    for (int i = 0; i < devices.size(); ++i)
        if (const auto* revision = RevisionChoice::choose (*devices[i], version))
            entries.add ({ devices[i], i + 1, revision });

    if (entries.isEmpty())
        fail (UpdateEnd::noUpdate,
              version.isNotEmpty() ? "No device found has version " + version + " in the catalogue." : juce::String());
}

// Every name is resolved before any device is touched, and the first that cannot be
// ends the run: an update of "these three" that quietly did two would surprise.
void DeviceChoice::chooseNamed (const juce::StringArray& names, const juce::String& version)
{
    for (const auto& name : names)
    {
        const auto matches = findNamed (devices, name);

        if (matches.size() != 1)
            return fail (UpdateEnd::noDevices,
                         (matches.isEmpty() ? "No device found is " : "Several devices found are ") + name.quoted()
                             + "; \"quillon-cli devices\" lists them by number.");

        auto* device = matches.getFirst();

        for (const auto& entry : entries)
        {
            if (entry.device == device)
            {
                usageError = "--device " + TerminalText::visible (name).quoted() + " names device " + juce::String (entry.number)
                             + " again; give each device once";
                entries.clear();
                return;
            }
        }

        const auto* revision = RevisionChoice::choose (*device, version);

        if (revision == nullptr)
            return fail (UpdateEnd::noUpdate,
                         device->getDisplayName()
                             + (version.isNotEmpty() ? " has no version " + version + " in the catalogue." : " has no update."));

        entries.add ({ device, devices.indexOf (device) + 1, revision });
    }
}

// Read digit by digit and bounded: getIntValue() wraps, and would take 4294967297 for 1.
std::optional<int> DeviceChoice::indexNumbered (const juce::String& name, int count)
{
    if (name.isEmpty() || ! name.containsOnly ("0123456789"))
        return {};

    juce::int64 number = 0;

    for (auto c : name)
    {
        number = number * 10 + (c - '0');

        if (number > count)
            return {};
    }

    if (number < 1)
        return {};

    return (int) number - 1;
}

juce::Array<TargetDevice*> DeviceChoice::findNamed (const juce::OwnedArray<TargetDevice>& devices, const juce::String& name)
{
    juce::Array<TargetDevice*> matches;

    if (const auto index = indexNumbered (name, devices.size()))
        matches.add (devices[*index]);

    for (auto* device : devices)
        if (device->getDeviceName().equalsIgnoreCase (name) || device->product.name.equalsIgnoreCase (name))
            matches.addIfNotAlreadyThere (device);

    return matches;
}

void DeviceChoice::fail (UpdateEnd end, const juce::String& note)
{
    failure = UpdateOutcome { end, {}, {}, juce::StringArray (note) };
}
