#include "sequencer/broker/BrokerOptions.h"
#include "sim/SimulatedCommand.h"

#include <gtest/gtest.h>

namespace
{
    // How the options place the devices: "name:usb" or "name:din", with "+unplug after N"
    // for a device that vanishes after its Nth write.
    juce::StringArray placed (const BrokerOptions& options)
    {
        juce::StringArray placements;

        for (const auto& placement : options.placements)
        {
            auto text = placement.config.portName + (placement.link == SequencerDeviceRack::Link::usb ? ":usb" : ":din");

            for (const auto& fault : placement.config.faults)
                if (fault.kind == SimulatedFault::Kind::vanishAfterReply && fault.command == SimulatedCommand::writeBlock)
                    text << " +unplug after " << fault.first;

            placements.add (text);
        }

        return placements;
    }

    struct CommandLineCase
    {
        juce::StringArray arguments;
        juce::StringArray placements;
        juce::String error;
    };
}

TEST (BrokerOptions, CommandLinesPlaceTheDemosDevicesOrSayWhatIsWrong)
{
    const auto with = [] (const juce::StringArray& more)
    {
        juce::StringArray arguments { "--socket", "s" };
        arguments.addArray (more);
        return arguments;
    };

    const std::vector<CommandLineCase> cases {
        { with ({}), { "Calvio Hall Reverb:usb", "Calvio Plate Reverb:usb", "Brisma Chorus:usb" }, {} },
        { with ({ "--device", "Brisma Chorus:din", "--device", "Calvio Hall Reverb:usb",
                  "--unplug-after-writes", "Calvio Hall Reverb:3" }),
          { "Brisma Chorus:din", "Calvio Hall Reverb:usb +unplug after 3" }, {} },
        { { "--device", "Brisma Chorus:usb" }, {}, "--socket is required" },
        { with ({ "--device", "Brisma Chorus" }), {}, "--device takes NAME:usb or NAME:din" },
        { with ({ "--device", "Nimbus:usb" }), {}, "no device is named \"Nimbus\"" },
        { with ({ "--device", "Brisma Chorus:usb", "--device", "Brisma Chorus:din" }), {}, "\"Brisma Chorus\" is given twice" },
        { with ({ "--unplug-after-writes", "Calvio Hall Reverb:0" }), {}, "N a count of writes from 1" },
        { with ({ "--device", "Brisma Chorus:din", "--unplug-after-writes", "Brisma Chorus:2" }), {},
          "no USB device is named \"Brisma Chorus\"" },
        { with ({ "--device", "Brisma Chorus:usb", "--expect-flash", "Calvio Hall Reverb=image.bin" }), {},
          "\"Calvio Hall Reverb\" is not plugged in" },
        { with ({ "--interface" }), {}, "--interface needs a value" },
        { with ({ "--verbose", "1" }), {}, "unknown option --verbose" }
    };

    for (const auto& expected : cases)
    {
        const auto options = BrokerOptions::parse (expected.arguments, juce::File::getCurrentWorkingDirectory());
        const auto line = expected.arguments.joinIntoString (" ");

        if (expected.error.isEmpty())
        {
            EXPECT_EQ (options.error, juce::String()) << line;
            EXPECT_EQ (placed (options), expected.placements) << line;
        }
        else
        {
            EXPECT_TRUE (options.error.contains (expected.error)) << line << ": " << options.error;
        }
    }
}
