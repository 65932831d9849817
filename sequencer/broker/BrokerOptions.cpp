#include "sequencer/broker/BrokerOptions.h"

#include "demo/DemoSetup.h"
#include "sim/SimulatedCommand.h"

#include <algorithm>
#include <optional>

namespace
{
    using Link = SequencerDeviceRack::Link;

    struct Unplugging
    {
        juce::String device;
        int writes = 0;
    };

    struct Arguments
    {
        std::vector<std::pair<juce::String, Link>> devices;
        std::optional<Unplugging> unplugging;
    };

    std::optional<SimulatedDeviceConfig> demoDevice (const juce::String& name)
    {
        for (const auto& config : DemoSetup::standard (false).devices)
            if (config.portName == name)
                return config;

        return std::nullopt;
    }

    juce::String knownNames()
    {
        juce::StringArray names;

        for (const auto& config : DemoSetup::standard (false).devices)
            names.add ("\"" + config.portName + "\"");

        return names.joinIntoString (", ");
    }

    std::optional<Link> linkNamed (const juce::String& text)
    {
        if (text == "usb")
            return Link::usb;

        if (text == "din")
            return Link::din;

        return std::nullopt;
    }

    std::optional<int> countIn (const juce::String& text)
    {
        if (text.isEmpty() || text.length() > 6 || ! text.containsOnly ("0123456789") || text.getIntValue() < 1)
            return std::nullopt;

        return text.getIntValue();
    }

    SimulatedFault unplugAfterWrite (int writes)
    {
        SimulatedFault fault;
        fault.kind = SimulatedFault::Kind::vanishAfterReply;
        fault.command = SimulatedCommand::writeBlock;
        fault.first = writes;
        return fault;
    }

    // Each reader returns an error text, empty when the value was fine.
    juce::String readDevice (const juce::String& value, Arguments& arguments)
    {
        const auto name = value.upToLastOccurrenceOf (":", false, false);
        const auto link = linkNamed (value.fromLastOccurrenceOf (":", false, false));

        if (! value.contains (":") || ! link.has_value())
            return "--device takes NAME:usb or NAME:din";

        if (! demoDevice (name).has_value())
            return "no device is named \"" + name + "\"; there are " + knownNames();

        for (const auto& device : arguments.devices)
            if (device.first == name)
                return "\"" + name + "\" is given twice";

        arguments.devices.emplace_back (name, *link);
        return {};
    }

    juce::String readUnplugging (const juce::String& value, Arguments& arguments)
    {
        const auto writes = countIn (value.fromLastOccurrenceOf (":", false, false));

        if (! value.contains (":") || ! writes.has_value())
            return "--unplug-after-writes takes NAME:N, N a count of writes from 1";

        if (arguments.unplugging.has_value())
            return "--unplug-after-writes is given twice";

        arguments.unplugging = Unplugging { value.upToLastOccurrenceOf (":", false, false), *writes };
        return {};
    }

    juce::String readExpectation (const juce::String& value, const juce::File& workingFolder, BrokerOptions& options)
    {
        const auto name = value.upToFirstOccurrenceOf ("=", false, false);
        const auto path = value.fromFirstOccurrenceOf ("=", false, false);

        if (! value.contains ("=") || path.isEmpty())
            return "--expect-flash takes NAME=IMAGEFILE";

        if (! demoDevice (name).has_value())
            return "no device is named \"" + name + "\"; there are " + knownNames();

        options.expectations.push_back ({ name, workingFolder.getChildFile (path) });
        return {};
    }

    juce::String place (const Arguments& arguments, BrokerOptions& options)
    {
        auto devices = arguments.devices;

        if (devices.empty())
            for (const auto& config : DemoSetup::standard (false).devices)
                devices.emplace_back (config.portName, Link::usb);

        for (const auto& [name, link] : devices)
            options.placements.push_back ({ *demoDevice (name), link });

        for (const auto& expectation : options.expectations)
            if (std::none_of (devices.begin(), devices.end(), [&] (const auto& device) { return device.first == expectation.device; }))
                return "--expect-flash: \"" + expectation.device + "\" is not plugged in";

        if (! arguments.unplugging.has_value())
            return {};

        for (auto& placement : options.placements)
        {
            if (placement.config.portName == arguments.unplugging->device && placement.link == Link::usb)
            {
                placement.config.faults.push_back (unplugAfterWrite (arguments.unplugging->writes));
                return {};
            }
        }

        return "--unplug-after-writes: no USB device is named \"" + arguments.unplugging->device + "\"";
    }
}

BrokerOptions BrokerOptions::parse (const juce::StringArray& arguments, const juce::File& workingFolder)
{
    BrokerOptions options;
    Arguments read;

    for (int i = 0; i < arguments.size() && options.error.isEmpty(); i += 2)
    {
        const auto& option = arguments[i];
        const auto value = arguments[i + 1];

        if (i + 1 >= arguments.size())
            options.error = option + " needs a value";
        else if (option == "--socket")
            options.socketPath = workingFolder.getChildFile (value).getFullPathName();
        else if (option == "--device")
            options.error = readDevice (value, read);
        else if (option == "--unplug-after-writes")
            options.error = readUnplugging (value, read);
        else if (option == "--expect-flash")
            options.error = readExpectation (value, workingFolder, options);
        else if (option == "--log")
            options.logFile = workingFolder.getChildFile (value);
        else if (option == "--interface")
            options.interfaceName = value;
        else
            options.error = "unknown option " + option;
    }

    if (options.error.isEmpty() && options.socketPath.isEmpty())
        options.error = "--socket is required";

    if (options.error.isEmpty())
        options.error = place (read, options);

    return options;
}

juce::String BrokerOptions::usage()
{
    return "usage: quillon-sequencer --socket PATH [--device NAME:usb|din]... [--unplug-after-writes NAME:N]\n"
           "                         [--expect-flash NAME=IMAGEFILE]... [--log FILE] [--interface NAME]\n"
           "NAME is one of " + knownNames() + "; without --device all of them are plugged in over USB.\n"
           "--interface names the USB-MIDI interface of the DIN devices (default "
           + SequencerDeviceRack::defaultInterfaceName + ").\n";
}
