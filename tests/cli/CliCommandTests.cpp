#include "catalogue/CataloguePublicKey.h"
#include "demo/DemoSetup.h"
#include "device/sysex/Super7TxSysexMsg.h"
#include "tests/cli/CliProcess.h"
#include "tests/device/ImageFileBuilder.h"
#include "tests/support/JucePrinters.h"
#include "tests/support/UserTexts.h"
#include "tests/sysex/SysexTestSupport.h"
#include "tests/wizard/WizardWorld.h"

#include <gtest/gtest.h>

namespace
{
    // What the demo's Hall Reverb (family 05, product 02) is first asked: who it is.
    constexpr auto identityRequest = "F0 06 7F 05 02 01 00 7F 7F 7F 00 F7";

    // A catalogue in the test's folder whose name neither ASCII nor a Western code page
    // can hold, written as the tests' arguments name files.
    constexpr auto nonAsciiCatalogue = "@каталог für niemand.xml";

    // Two 256-byte blocks for the Hall Reverb's second region.
    constexpr juce::uint32 imageStart = 0x4000;
    constexpr juce::uint32 lastBlock = 0x4100;
    constexpr juce::uint32 blockSize = 256;

    juce::String header (const char* caption, const char* description)
    {
        return juce::String (caption) + " - " + description;
    }

    juce::var parseJson (const juce::String& text)
    {
        juce::var value;
        EXPECT_TRUE (juce::JSON::parse (text, value).wasOk()) << text;
        return value;
    }

    // The WriteBlock the Hall Reverb is sent for the image's last block, built from the
    // image's own bytes.
    std::string lastBlockOnTheWire()
    {
        SysexHeader sysex;
        sysex.manufacturerId = 0x06;
        sysex.deviceId = 0x01;
        sysex.familyId = 0x05;
        sysex.productId = 0x02;
        sysex.command = 0x7A;

        const auto data = ImageFileBuilder::patternBytes (lastBlock, blockSize);
        pex::Super7TxSysexMsg message (sysex);
        message.AppendDWord (lastBlock);
        message.AppendWord ((juce::uint16) blockSize);
        message.Append (data.data(), (juce::uint32) data.size());
        message.Complete();
        return sysextest::hexOf (message);
    }
}

/** Catalogues and images written where a test's quillon-cli --demo is pointed at them:
    the demo's Hall Reverb with revision 2.0 of several kinds.
*/
class CliCommand : public testing::Test
{
protected:
    juce::String write (const juce::String& name, const juce::MemoryBlock& data)
    {
        const auto file = folder.getFile().getChildFile (name);
        file.replaceWithData (data.getData(), data.getSize());
        return file.getFullPathName();
    }

    juce::String writeCatalogue (const juce::String& name, const juce::String& imagePath,
                                 const juce::String& portName = hallReverb().portName)
    {
        auto device = hallReverb();
        device.portName = portName;
        const auto text = CatalogueXml().addProduct (device, "Calvio Hall Reverb", { { "2.0", imagePath } }).toString();
        return write (name, juce::MemoryBlock (text.toRawUTF8(), text.getNumBytesAsUTF8()));
    }

    juce::String writeImage (const juce::String& name, size_t bytesCutOff = 0)
    {
        auto image = ImageFileBuilder().addRecord (imageStart, 2 * blockSize).getFile();
        image.setSize (image.getSize() - bytesCutOff);
        return write (name, image);
    }

    static SimulatedDeviceConfig hallReverb() { return DemoSetup::standard (false).devices[0]; }

    /** Arguments with "@name" standing for the file of that name in the folder. */
    juce::StringArray resolve (std::initializer_list<const char*> words)
    {
        juce::StringArray arguments;

        for (const auto* text : words)
        {
            const auto word = juce::String::fromUTF8 (text);
            arguments.add (word.startsWith ("@") ? folder.getFile().getChildFile (word.substring (1)).getFullPathName()
                                                 : word);
        }

        return arguments;
    }

    void SetUp() override
    {
        folder.getFile().createDirectory();
        writeCatalogue ("good.xml", writeImage ("good.bin"));
        writeCatalogue ("nobody-there.xml", writeImage ("unused.bin"), "Nobody There");
        writeCatalogue (juce::String::fromUTF8 (nonAsciiCatalogue).substring (1), writeImage ("unused.bin"), "Nobody There");
        writeCatalogue ("missing-image.xml", folder.getFile().getChildFile ("missing.bin").getFullPathName());
        writeCatalogue ("damaged-image.xml", writeImage ("damaged.bin", 16));
        write ("broken.xml", juce::MemoryBlock ("<Config><Brand Name=", 20));
    }

    juce::TemporaryFile folder;
};

TEST_F (CliCommand, EndsEachWayWithItsExitCodeAndTheResultsPagesTexts)
{
    struct Case
    {
        std::initializer_list<const char*> arguments;
        int exitCode;
        juce::StringArray output;
        juce::StringArray errors;
    };

    const auto noDevices = header (UserTexts::noDevicesFound, UserTexts::noDevicesDescription);
    const auto noUpdates = header (UserTexts::noUpdatesFound, UserTexts::noUpdatesDescription);
    const auto unreachable = header (UserTexts::unableToConnect, UserTexts::unableToConnectDescription);
    const auto invalid = header (UserTexts::invalidTargetsFile, UserTexts::invalidTargetsFileDescription);
    const auto failed = header (UserTexts::updateFailed, UserTexts::updateFailedDescription);
    const juce::String untouched = "The device was not changed.";

    // clang-format off
    const Case cases[] = {
        { { "--help" },                                                       0, { "quillon-cli " QUILLON_VERSION " updates", "Exit codes:", "8  cancelled" }, {} },
        { { "frobnicate" },                                                   1, {}, { "unknown command frobnicate" } },
        { { "--demo", "devices", "--all" },                                   1, {}, { "--all does not go with devices" } },
        { { "--demo", "update", "--device", "1" },                            1, {}, { "give --yes" } },
        { { "--demo", "update", "--all" },                                    1, {}, { "give --yes" } },
        { { "--demo", "update", "--all", "--device", "1" },                   1, {}, { "--all and --device do not go together" } },
        { { "--demo", "--catalogue", "@nobody-there.xml", "devices" },        2, { noDevices, UserTexts::noDevicesBody }, {} },
        { { "--demo", "--catalogue", nonAsciiCatalogue, "devices" },          2, { noDevices, UserTexts::noDevicesBody }, {} },
        { { "--demo", "update", "--yes", "--device", "Nobody" },              2, { noDevices, "No device found is \"Nobody\"" }, {} },
        { { "--demo", "update", "--yes", "--device", "Pedalboard" },          3, { noUpdates, UserTexts::noUpdatesBody }, {} },
        { { "--demo", "update", "--yes", "--device", "1", "--version", "9" }, 3, { noUpdates, "no version 9" }, {} },
        { { "--demo", "--catalogue", "@missing.xml", "updates" },             4, {}, { "missing.xml does not exist" } },
        { { "--demo", "--catalogue", "@broken.xml", "updates" },              5, { invalid }, {} },
        { { "--demo", "--catalogue", "@missing-image.xml", "update", "--yes" }, 6, { unreachable, untouched }, {} },
        { { "--demo", "--catalogue", "@damaged-image.xml", "update", "--yes" }, 7, { failed, UserTexts::endOfFile }, {} },
    };
    // clang-format on

    for (const auto& c : cases)
    {
        const auto arguments = resolve (c.arguments);
        SCOPED_TRACE (arguments.joinIntoString (" "));
        const auto result = CliProcess::run (arguments);

        EXPECT_EQ (result.exitCode, c.exitCode) << result.output << result.errors;

        for (const auto& text : c.output)
            EXPECT_TRUE (result.output.contains (text)) << text << "\nin:\n" << result.output;

        for (const auto& text : c.errors)
            EXPECT_TRUE (result.errors.contains (text)) << text << "\nin:\n" << result.errors;

        // Refused before anything was looked for, or without a command to run.
        if (c.exitCode == 1 || c.output.isEmpty())
            EXPECT_TRUE (result.output.isEmpty()) << result.output;
    }
}

TEST_F (CliCommand, ListsTheDemosDevicesAsJsonWithTheirPortsAndState)
{
    const auto result = CliProcess::run ({ "--demo", "devices", "--json" });
    ASSERT_EQ (result.exitCode, 0) << result.errors;

    const auto document = parseJson (result.output);
    EXPECT_TRUE (document["inputs"].getArray()->contains ("Calvio Hall Reverb"));
    EXPECT_TRUE (document["outputs"].getArray()->contains ("Brisma Chorus"));

    struct Expected
    {
        const char* brand;
        const char* product;
        const char* name;
        const char* version;
        bool waiting;
    };

    const Expected expected[] = {
        { "Calvio", "Calvio Hall Reverb", "Studio Hall", "1.1", false },
        { "Calvio", "Calvio Plate Reverb", "Vocal Plate", "", true },
        { "Brisma", "Brisma Chorus", "Pedalboard", "2.3", false },
    };

    const auto* devices = document["devices"].getArray();
    ASSERT_NE (devices, nullptr);
    ASSERT_EQ (devices->size(), 3);

    for (int i = 0; i < 3; ++i)
    {
        const auto& device = devices->getReference (i);
        EXPECT_EQ ((int) device["number"], i + 1);
        EXPECT_EQ (device["brand"].toString(), expected[i].brand);
        EXPECT_EQ (device["product"].toString(), expected[i].product);
        EXPECT_EQ (device["name"].toString(), expected[i].name);
        EXPECT_EQ (device["version"].toString(), expected[i].version);
        EXPECT_EQ ((bool) device["waitingInUpdateMode"], expected[i].waiting);
        EXPECT_EQ (device["input"].toString(), expected[i].product);
    }
}

TEST_F (CliCommand, ListsEachDevicesNewestUpdateOrEveryRevisionAsJson)
{
    struct Case
    {
        bool all;
        std::vector<juce::var> newest;
        std::vector<int> revisionCounts;
    };

    const Case cases[] = {
        { false, { "1.21", "2.02", juce::var() }, {} },
        { true, { "1.21", "2.02", juce::var() }, { 3, 2, 2 } },
    };

    for (const auto& c : cases)
    {
        auto arguments = juce::StringArray { "--demo", "updates", "--json" };

        if (c.all)
            arguments.add ("--all");

        SCOPED_TRACE (arguments.joinIntoString (" "));
        const auto result = CliProcess::run (arguments);
        ASSERT_EQ (result.exitCode, 0) << result.errors;

        const auto document = parseJson (result.output);
        EXPECT_TRUE (document["catalogue"].toString().endsWith ("/updater/common/config/UpdateTargets.xml"));

        const auto* devices = document["devices"].getArray();
        ASSERT_NE (devices, nullptr);
        ASSERT_EQ (devices->size(), 3);

        for (int i = 0; i < 3; ++i)
        {
            const auto& device = devices->getReference (i);
            EXPECT_EQ (device["newestUpdate"]["version"], c.newest[(size_t) i]);
            EXPECT_EQ (device["revisions"].isArray(), c.all);

            if (c.all)
                EXPECT_EQ (device["revisions"].getArray()->size(), c.revisionCounts[(size_t) i]);
        }
    }
}

TEST_F (CliCommand, UpdatesTheDemosFirstDeviceWithAnUpdateAndReportsInJsonLines)
{
    const auto result = CliProcess::run ({ "--demo", "update", "--yes", "--json" });
    ASSERT_EQ (result.exitCode, 0) << result.output << result.errors;

    auto lines = juce::StringArray::fromLines (result.output.trimEnd());
    juce::StringArray statuses;
    double lastProgress = -1.0;
    juce::var selected;

    for (const auto& line : lines)
    {
        const auto value = parseJson (line);

        if (value.hasProperty ("status"))
            statuses.add (value["status"].toString());
        else if (value.hasProperty ("progress"))
            lastProgress = value["progress"];
        else if (value.hasProperty ("device"))
            selected = value;
    }

    EXPECT_EQ (parseJson (lines[0])["status"].toString(), UserTexts::locatingTargetsFile);
    EXPECT_TRUE (statuses.contains (UserTexts::initializingDevice));
    EXPECT_TRUE (statuses.contains ("Writing at address: 0x4B00"));
    EXPECT_EQ (statuses[statuses.size() - 1], UserTexts::updateComplete);
    EXPECT_DOUBLE_EQ (lastProgress, 1.0);

    EXPECT_EQ (selected["device"]["product"].toString(), "Calvio Hall Reverb");
    EXPECT_EQ (selected["revision"]["version"].toString(), "1.21");

    const auto outcome = parseJson (lines[lines.size() - 1])["outcome"];
    EXPECT_EQ (outcome["caption"].toString(), UserTexts::updateSucceeded);
    EXPECT_EQ (outcome["body"].toString(), "Switch the Hall Reverb off and on again. Your presets are kept.");
    EXPECT_EQ ((int) outcome["exitCode"], 0);
    ASSERT_TRUE (outcome["notes"].isArray());
    EXPECT_EQ (outcome["notes"][0].toString(), "Device flash equals the image inside its regions: yes");
}

TEST_F (CliCommand, TracesEveryMessageFromTheFirstRequestToTheLastBlockWithTheStatusTexts)
{
    const auto trace = folder.getFile().getChildFile ("trace.txt");
    const auto result = CliProcess::run (resolve ({ "--demo", "--catalogue", "@good.xml", "--trace", "@trace.txt",
                                                    "update", "--yes" }));
    ASSERT_EQ (result.exitCode, 0) << result.output << result.errors;
    EXPECT_TRUE (result.output.contains ("Device flash equals the image inside its regions: yes")) << result.output;

    juce::StringArray sent;
    juce::StringArray kinds;
    int previousMs = 0;

    for (const auto& line : juce::StringArray::fromLines (trace.loadFileAsString().trimEnd()))
    {
        const auto ms = line.upToFirstOccurrenceOf (" ", false, false);
        const auto kind = line.fromFirstOccurrenceOf (" ", false, false).upToFirstOccurrenceOf (" ", false, false);
        const auto text = line.fromFirstOccurrenceOf (" ", false, false).fromFirstOccurrenceOf (" ", false, false);

        ASSERT_TRUE (ms.containsOnly ("0123456789") && ms.isNotEmpty()) << line;
        EXPECT_GE (ms.getIntValue(), previousMs) << line;
        previousMs = ms.getIntValue();
        kinds.addIfNotAlreadyThere (kind);

        if (kind == "out")
            sent.add (text);
    }

    EXPECT_EQ (kinds, (juce::StringArray { "status", "out", "in" }));
    ASSERT_FALSE (sent.isEmpty());
    EXPECT_EQ (sent[0], identityRequest);
    EXPECT_EQ (sent[sent.size() - 1], juce::String (lastBlockOnTheWire()));

    // The run's end, for whoever reads the trace without the screen.
    EXPECT_TRUE (trace.loadFileAsString().contains (" status " + header (UserTexts::updateSucceeded, "The update completed successfully")));
}

TEST_F (CliCommand, WarnsOnceWhenABuildWithoutCatalogueKeyTakesAServersCatalogueUnverified)
{
    if (CataloguePublicKey::builtIn().has_value())
        GTEST_SKIP() << "this build has a catalogue key";

    LoopbackServer server;
    const auto catalogue = CatalogueXml().addProduct (hallReverb(), "Calvio Hall Reverb", { { "2.0", server.getUrl ("/a.bin") } });
    server.setAnswer ("/UpdateTargets.xml", LoopbackServer::Answer::withText (catalogue.toString(), 200, "text/xml"));
    const auto address = server.getUrl ("/UpdateTargets.xml");
    const auto warning = "quillon-cli: warning: this build has no catalogue key; the catalogue from " + address + " was not verified";

    struct Case
    {
        std::initializer_list<const char*> arguments;
        bool warned;
    };

    // Without --demo the program's own world, which has no devices here.
    // clang-format off
    const Case cases[] = {
        { { "--catalogue", address.toRawUTF8(), "devices" },           true },
        { { "--catalogue", address.toRawUTF8(), "updates", "--json" }, true },
        { { "--catalogue", "@good.xml", "devices" },                   false },
        { { "--demo", "devices" },                                     false },
    };
    // clang-format on

    for (const auto& c : cases)
    {
        const auto arguments = resolve (c.arguments);
        SCOPED_TRACE (arguments.joinIntoString (" "));
        const auto result = CliProcess::run (arguments);

        EXPECT_NE (result.exitCode, 1) << result.errors;
        juce::StringArray warnings;

        for (const auto& line : juce::StringArray::fromLines (result.errors))
            if (line.contains ("no catalogue key"))
                warnings.add (line);

        EXPECT_EQ (warnings.joinIntoString ("\n"), c.warned ? warning : juce::String()) << result.errors;
    }
}

TEST_F (CliCommand, AnswerOtherThanYesAtTheTerminalLeavesTheDeviceAsItWas)
{
    for (const auto* answer : { "n", "", "yes please" })
    {
        CliProcess process ({ "--demo", "update" }, CliProcess::Input::terminal);
        ASSERT_TRUE (process.waitForOutput ("[y/N] ", CliProcess::defaultTimeoutMs)) << process.getOutput();

        process.typeLine (answer);

        ASSERT_EQ (process.waitForExit (CliProcess::defaultTimeoutMs), std::optional<int> (8)) << answer;
        const auto output = process.getOutput();
        EXPECT_TRUE (output.contains (header (UserTexts::updateCancelled, "The update process was aborted"))) << output;
        EXPECT_TRUE (output.contains ("The device was not changed.")) << output;
        EXPECT_FALSE (output.contains ("Writing at address")) << output;
    }
}

// Ctrl-C, a kill or timeout (SIGTERM) and a closed terminal (SIGHUP) all ask the same stop.
TEST_F (CliCommand, CtrlCWhileProgrammingStopsBetweenBlocksAndSaysTheDeviceWaitsInUpdateMode)
{
    for (const auto signal : { SIGINT, SIGTERM, SIGHUP })
    {
        SCOPED_TRACE (signal);
        CliProcess process ({ "--demo", "update", "--yes" });
        ASSERT_TRUE (process.waitForOutput ("Writing at address: 0x", CliProcess::defaultTimeoutMs)) << process.getOutput();

        process.interrupt (signal);

        // Bounded generously: the device stops within a block, well under a second.
        const auto exitCode = process.waitForExit (10000);
        ASSERT_TRUE (exitCode.has_value()) << "still running after the signal:\n" << process.getOutput();
        EXPECT_EQ (*exitCode, 8);

        const auto output = process.getOutput();
        EXPECT_TRUE (output.contains (header (UserTexts::updateCancelled, "The update process was aborted"))) << output;
        EXPECT_TRUE (output.contains ("The device is waiting in update mode and will be found again")) << output;
        EXPECT_FALSE (output.contains ("Writing at address: 0x4B00")) << output;

        // The step was stopped, not failed: its last status is the one before the signal.
        EXPECT_FALSE (output.contains (UserTexts::updateFailedStatus)) << output;
    }
}
