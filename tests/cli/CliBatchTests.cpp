#include "cli/OutcomeTable.h"
#include "cli/TextColumns.h"
#include "demo/DemoSetup.h"
#include "tests/cli/CliProcess.h"
#include "tests/device/ImageFileBuilder.h"
#include "tests/support/JucePrinters.h"
#include "tests/support/UserTexts.h"
#include "tests/wizard/WizardWorld.h"

#include <gtest/gtest.h>

namespace
{
    // The demo's devices as quillon-cli numbers and labels them, each on ports of its own.
    constexpr const char* labels[] = { "[1 Calvio Hall Reverb \"Studio Hall\"]",
                                       "[2 Calvio Plate Reverb \"Vocal Plate\"]",
                                       "[3 Brisma Chorus \"Pedalboard\"]" };

    constexpr auto flashMatches = "Device flash equals the image inside its regions: yes";
    constexpr auto plateInstructions = "Hold the BYPASS switch while powering on.";

    juce::var parseJson (const juce::String& text)
    {
        juce::var value;
        EXPECT_TRUE (juce::JSON::parse (text, value).wasOk()) << text;
        return value;
    }

    // A device's label as the table's rows start with it: without the brackets.
    juce::String rowLabel (int device)
    {
        const juce::String label (labels[device]);
        return label.substring (1, label.length() - 1);
    }

    // The table's row of a device and the lines below it, up to the next row.
    juce::StringArray tableEntryOf (const juce::String& output, int device)
    {
        const auto lines = juce::StringArray::fromLines (output);
        juce::StringArray entry;

        for (const auto& line : lines)
        {
            if (line.startsWith (rowLabel (device)))
                entry.add (line);
            else if (! entry.isEmpty() && line.startsWith ("    "))
                entry.add (line.trimStart());
            else if (! entry.isEmpty())
                break;
        }

        return entry;
    }

    // Where a device's first and last "Writing" lines are among all the output's lines.
    std::pair<int, int> writingLinesOf (const juce::StringArray& lines, int device)
    {
        std::pair<int, int> span { -1, -1 };

        for (int i = 0; i < lines.size(); ++i)
        {
            if (lines[i].startsWith (juce::String (labels[device]) + " Writing at address: 0x"))
            {
                span.first = span.first < 0 ? i : span.first;
                span.second = i;
            }
        }

        return span;
    }
}

/** A catalogue that offers each of the demo's three devices version 3.0, every image a
    local file, so that quillon-cli --demo update --all updates them all at once.
*/
class CliBatch : public testing::Test
{
protected:
    enum class Images
    {
        whole,          // about two seconds at MIDI speed for each device
        plateDamaged,   // the Plate Reverb's image cut off before its end
        hallTiny        // the Hall Reverb's image one block long, done long before the others
    };

    juce::String catalogueWith (Images images, const juce::String& hallProduct = "Calvio Hall Reverb")
    {
        const auto devices = DemoSetup::standard (false).devices;
        const auto hallBytes = images == Images::hallTiny ? 256u : 0x1000u;
        const auto name = juce::String ("catalogue-") + juce::String ((int) images) + ".xml";

        const auto text = CatalogueXml()
                              .addProduct (devices[0], hallProduct, { { "3.0", writeImage ("hall.bin", 0x4000, hallBytes) } })
                              .addProduct (devices[1], "Calvio Plate Reverb",
                                           { { "3.0", writeImage ("plate.bin", 0x4000, 0x1000, images == Images::plateDamaged ? 16 : 0) } },
                                           plateInstructions)
                              .addProduct (devices[2], "Brisma Chorus", { { "3.0", writeImage ("chorus.bin", 0x10000, 0x2000) } })
                              .toString();

        return write (name, juce::MemoryBlock (text.toRawUTF8(), text.getNumBytesAsUTF8()));
    }

    juce::String writeImage (const juce::String& name, juce::uint32 address, juce::uint32 bytes, size_t bytesCutOff = 0)
    {
        auto image = ImageFileBuilder().addRecord (address, bytes).getFile();
        image.setSize (image.getSize() - bytesCutOff);
        return write (juce::String (images++) + "-" + name, image);
    }

    juce::String write (const juce::String& name, const juce::MemoryBlock& data)
    {
        const auto file = folder.getFile().getChildFile (name);
        file.replaceWithData (data.getData(), data.getSize());
        return file.getFullPathName();
    }

    void SetUp() override
    {
        folder.getFile().createDirectory();
    }

    juce::TemporaryFile folder;
    int images = 0;
};

TEST_F (CliBatch, UpdatesEveryDeviceSideBySideAndEndsWithTheWorstDevicesExitCode)
{
    struct Case
    {
        Images images;
        int exitCode;
        const char* captions[3];
        const char* failure;
    };

    const Case cases[] = {
        { Images::whole,        0, { UserTexts::updateSucceeded, UserTexts::updateSucceeded, UserTexts::updateSucceeded }, nullptr },
        { Images::plateDamaged, 7, { UserTexts::updateSucceeded, UserTexts::updateFailed, UserTexts::updateSucceeded }, UserTexts::endOfFile },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE ((int) c.images);
        const auto result = CliProcess::run ({ "--demo", "--catalogue", catalogueWith (c.images), "update", "--all", "--yes" });
        EXPECT_EQ (result.exitCode, c.exitCode) << result.output << result.errors;

        const auto lines = juce::StringArray::fromLines (result.output);
        int lastFirstWrite = -1;
        int firstLastWrite = lines.size();

        for (int device = 0; device < 3; ++device)
        {
            const auto entry = tableEntryOf (result.output, device);
            const bool succeeded = juce::String (c.captions[device]) == UserTexts::updateSucceeded;
            ASSERT_FALSE (entry.isEmpty()) << result.output;
            EXPECT_TRUE (entry[0].contains (" 3.0 ") && entry[0].endsWith (c.captions[device])) << entry[0];
            EXPECT_EQ (entry.contains (flashMatches), succeeded) << entry.joinIntoString ("\n");

            if (! succeeded)
            {
                EXPECT_TRUE (entry.contains (c.failure)) << entry.joinIntoString ("\n");
                EXPECT_TRUE (entry.joinIntoString ("\n").contains ("waiting in update mode")) << entry.joinIntoString ("\n");
                continue;
            }

            const auto [first, last] = writingLinesOf (lines, device);
            ASSERT_GE (first, 0) << result.output;
            lastFirstWrite = std::max (lastFirstWrite, first);
            firstLastWrite = std::min (firstLastWrite, last);
        }

        // Side by side: every device wrote a block before any of them wrote its last.
        EXPECT_LT (lastFirstWrite, firstLastWrite) << result.output;
    }
}

TEST_F (CliBatch, JsonLinesEachCarryTheDeviceAndEndWithOneOutcomeEachAndASummary)
{
    const auto result = CliProcess::run ({ "--demo", "--catalogue", catalogueWith (Images::whole), "update", "--all", "--yes", "--json" });
    ASSERT_EQ (result.exitCode, 0) << result.output << result.errors;

    juce::Array<int> reporting;
    bool devicesChosen = false;
    juce::StringArray outcomes;
    juce::var summary;

    for (const auto& line : juce::StringArray::fromLines (result.output.trimEnd()))
    {
        const auto value = parseJson (line);
        const auto number = (int) value["device"]["number"];

        // The devices' own lines start once they have been chosen, after the search.
        if (value.hasProperty ("revision"))
        {
            devicesChosen = true;
        }
        else if (devicesChosen && (value.hasProperty ("status") || value.hasProperty ("progress")))
        {
            EXPECT_TRUE (number >= 1 && number <= 3 && value["device"]["name"].toString().isNotEmpty()) << line;
            reporting.addIfNotAlreadyThere (number);
        }
        else if (value.hasProperty ("outcome") && value.hasProperty ("device"))
        {
            EXPECT_EQ (value["version"].toString(), "3.0") << line;
            EXPECT_EQ (value["outcome"]["notes"][0].toString(), flashMatches) << line;
            outcomes.add (juce::String (number) + " " + value["outcome"]["caption"].toString());
        }
        else if (value.hasProperty ("summary"))
        {
            summary = value["summary"];
        }
    }

    reporting.sort();
    EXPECT_EQ (reporting, (juce::Array<int> { 1, 2, 3 }));
    EXPECT_EQ (outcomes, (juce::StringArray { "1 Update Succeeded", "2 Update Succeeded", "3 Update Succeeded" }));
    EXPECT_EQ ((int) summary["devices"], 3);
    EXPECT_EQ ((int) summary["succeeded"], 3);
    EXPECT_EQ ((int) summary["exitCode"], 0);
}

// Ctrl-C, a kill or timeout (SIGTERM) and a closed terminal (SIGHUP) all ask the same stop.
TEST_F (CliBatch, CtrlCStopsEveryDeviceAndTheTableSaysWhereEachWasLeft)
{
    for (const auto signal : { SIGINT, SIGTERM, SIGHUP })
    {
        SCOPED_TRACE (signal);
        CliProcess process ({ "--demo", "--catalogue", catalogueWith (Images::hallTiny), "update", "--all", "--yes" });
        ASSERT_TRUE (process.waitForOutput (juce::String (labels[0]) + " " + UserTexts::updateComplete, CliProcess::defaultTimeoutMs))
            << process.getOutput();

        process.interrupt (signal);

        // Bounded generously: each device stops within a block, well under a second.
        const auto exitCode = process.waitForExit (10000);
        ASSERT_TRUE (exitCode.has_value()) << "still running after the signal:\n" << process.getOutput();
        EXPECT_EQ (*exitCode, 8);

        const auto output = process.getOutput();
        const auto hall = tableEntryOf (output, 0);
        ASSERT_FALSE (hall.isEmpty()) << output;
        EXPECT_TRUE (hall[0].endsWith (UserTexts::updateSucceeded)) << output;
        EXPECT_TRUE (hall.contains (flashMatches)) << output;

        for (int device : { 1, 2 })
        {
            const auto entry = tableEntryOf (output, device);
            ASSERT_FALSE (entry.isEmpty()) << output;
            EXPECT_TRUE (entry[0].endsWith (UserTexts::updateCancelled)) << output;
            EXPECT_TRUE (entry.joinIntoString ("\n").contains ("waiting in update mode")) << output;
        }

        // Stopped, not failed: no device's last status is the failure the stop ends it with.
        EXPECT_FALSE (output.contains (juce::String ("] ") + UserTexts::updateFailedStatus)) << output;
    }
}

TEST_F (CliBatch, RefusesAListOfDevicesThatCannotAllBeUpdatedBeforeAnyIsChanged)
{
    struct Case
    {
        std::initializer_list<const char*> arguments;
        int exitCode;
        const char* output;
        const char* errors;
    };

    // clang-format off
    const Case cases[] = {
        { { "--device", "1", "--device", "Studio Hall" }, 1, "",                                    "--device \"Studio Hall\" names device 1 again" },
        { { "--device", "1", "--device", "Nobody" },      2, "No device found is \"Nobody\"",      "" },
        { { "--device", "2", "--device", "4294967297" },  2, "No device found is \"4294967297\"",  "" },
        { { "--device", "4294967297" },                   2, "No device found is \"4294967297\"",  "" },
        { { "--device", "1", "--device", "Pedalboard" },  3, "Brisma Chorus \"Pedalboard\" (at version 2.3) has no update.", "" },
        { { "--all", "--version", "9" },                  3, "No device found has version 9",        "" },
    };
    // clang-format on

    for (const auto& c : cases)
    {
        juce::StringArray arguments { "--demo", "update", "--yes" };

        for (const auto* word : c.arguments)
            arguments.add (word);

        SCOPED_TRACE (arguments.joinIntoString (" "));
        const auto result = CliProcess::run (arguments);

        EXPECT_EQ (result.exitCode, c.exitCode) << result.output << result.errors;
        EXPECT_TRUE (result.output.contains (c.output)) << result.output;
        EXPECT_TRUE (result.errors.contains (c.errors)) << result.errors;
        EXPECT_FALSE (result.output.contains ("Writing at address")) << result.output;
    }
}

TEST_F (CliBatch, AsksOnceForTheWholeListShowingEachDevicesInstructions)
{
    CliProcess process ({ "--demo", "--catalogue", catalogueWith (Images::whole), "update", "--all" }, CliProcess::Input::terminal);
    ASSERT_TRUE (process.waitForOutput ("[y/N] ", CliProcess::defaultTimeoutMs)) << process.getOutput();

    process.typeLine ("n");

    ASSERT_EQ (process.waitForExit (CliProcess::defaultTimeoutMs), std::optional<int> (8));
    const auto output = process.getOutput();

    for (const auto* device : { "1. Calvio Hall Reverb \"Studio Hall\" (at version 1.1) to version 3.0",
                                "2. Calvio Plate Reverb \"Vocal Plate\" (waiting for update) to version 3.0",
                                "3. Brisma Chorus \"Pedalboard\" (at version 2.3) to version 3.0" })
        EXPECT_TRUE (output.contains (device)) << device << "\nin:\n" << output;

    EXPECT_TRUE (output.contains (juce::String ("   Prepare to Update:\n      ") + plateInstructions)) << output;
    EXPECT_EQ (output.indexOf ("[y/N]"), output.lastIndexOf ("[y/N]")) << output;
    EXPECT_TRUE (output.contains ("No device was changed.")) << output;
    EXPECT_FALSE (output.contains ("Writing at address")) << output;
}

TEST_F (CliBatch, DrawsOneLiveLinePerDeviceOnATerminalAndRedrawsThemTogether)
{
    const auto result = CliProcess::run ({ "--demo", "--catalogue", catalogueWith (Images::whole), "update", "--all", "--yes" },
                                         CliProcess::defaultTimeoutMs, CliProcess::Output::terminal);
    ASSERT_EQ (result.exitCode, 0) << result.output << result.errors;

    // The cursor goes back up over all three lines, and the last drawing shows each
    // device done.
    const auto lastDrawing = result.output.fromLastOccurrenceOf ("\033[3A", false, false);
    ASSERT_NE (lastDrawing, result.output) << result.output;

    for (int device = 0; device < 3; ++device)
        EXPECT_TRUE (lastDrawing.contains ("\033[K100%  " + rowLabel (device) + "  " + UserTexts::updateComplete)) << lastDrawing;
}

// A product named in CJK takes two columns a character: a board cut by characters would
// wrap its lines and leave stale rows behind. A board taller than the terminal, or on one
// of no known size, could not be redrawn in place at all.
TEST_F (CliBatch, CutsTheLiveBoardToTheTerminalsColumnsOrPrintsWholeLinesWhenItCannotFit)
{
    const auto wideName = juce::String::fromUTF8 ("\u30ab\u30eb\u30f4\u30a3\u30aa \u30db\u30fc\u30eb "
                                                  "\u30ea\u30d0\u30fc\u30d6 \u30b9\u30bf\u30b8\u30aa\u7528 "
                                                  "\u9ad8\u54c1\u4f4d\u30c7\u30b8\u30bf\u30eb\u6b8b\u97ff\u88c5\u7f6e");

    struct Case
    {
        CliProcess::TerminalSize size;
        bool board;
    };

    const Case cases[] = { { { 80, 24 }, true }, { { 80, 2 }, false }, { { 0, 0 }, false } };
    const auto catalogue = catalogueWith (Images::hallTiny, wideName);

    for (const auto& c : cases)
    {
        SCOPED_TRACE (juce::String (c.size.columns) + "x" + juce::String (c.size.rows));
        const auto result = CliProcess::run ({ "--demo", "--catalogue", catalogue, "update", "--device", "1", "--device", "2", "--yes" },
                                             CliProcess::defaultTimeoutMs, CliProcess::Output::terminal, CliProcess::defaultProgram, c.size);
        ASSERT_EQ (result.exitCode, 0) << result.output << result.errors;
        EXPECT_EQ (result.output.contains ("\033[2A"), c.board) << result.output;

        if (! c.board)
        {
            EXPECT_TRUE (result.output.contains ("[1 " + wideName + " \"Studio Hall\"] Writing at address: 0x")) << result.output;
            continue;
        }

        for (const auto& line : juce::StringArray::fromTokens (result.output.replace ("\033[2A", ""), "\n", {}))
            if (line.startsWith ("\r\033[K"))
                EXPECT_LT (TextColumns::of (line.fromLastOccurrenceOf ("\033[K", false, false).trimCharactersAtEnd ("\r")),
                           c.size.columns) << line;
    }
}

TEST (TextColumns, CountsWideCharactersTwiceAndCombiningMarksNotAtAllAndCutsBeforeAStraddlingOne)
{
    struct Case
    {
        const char* text;
        int columns;
        int cutTo;
        const char* cut;
    };

    // clang-format off
    const Case cases[] = {
        { "Hall Reverb",                 11, 4, "Hall" },
        { "\u6b8b\u97ff\u88c5\u7f6e",     8, 5, "\u6b8b\u97ff" },
        { "Cafe\u0301 \u0915\u093f",       7, 4, "Cafe\u0301" },
        { "\uff21\U0001f3b8x",              5, 3, "\uff21" },
        { "\u200d\u2060a",                  1, 0, "\u200d\u2060" },
    };
    // clang-format on

    for (const auto& c : cases)
    {
        const auto text = juce::String::fromUTF8 (c.text);
        EXPECT_EQ (TextColumns::of (text), c.columns) << c.text;
        EXPECT_EQ (TextColumns::cut (text, c.cutTo), juce::String::fromUTF8 (c.cut)) << c.text;
    }
}

TEST (WorstExitCode, IsTheHighestButACancelRanksBelowEveryFailure)
{
    struct Case
    {
        juce::Array<ExitCode> codes;
        ExitCode worst;
    };

    // clang-format off
    const Case cases[] = {
        { { ExitCode::success, ExitCode::success },                              ExitCode::success },
        { { ExitCode::success, ExitCode::cancelled, ExitCode::success },         ExitCode::cancelled },
        { { ExitCode::cancelled, ExitCode::downloadFailed, ExitCode::success },  ExitCode::downloadFailed },
        { { ExitCode::updateFailed, ExitCode::cancelled, ExitCode::downloadFailed }, ExitCode::updateFailed },
    };
    // clang-format on

    for (const auto& c : cases)
        EXPECT_EQ (OutcomeTable::worstOf (c.codes), c.worst);
}
