#include "cli/TerminalText.h"
#include "server/LoopbackServer.h"
#include "tests/cli/CliProcess.h"
#include "tests/cli/HostileNames.h"

#include <gtest/gtest.h>

// Every way quillon-cli prints (plain lines, the terminal's live line, a JSON document,
// JSON lines) fed text from outside that holds control characters: a terminal must see
// none of them, only their stand-ins, and a real JSON parser must read back the text.
namespace
{
    constexpr auto hostileProgram = "quillon-cli-hostile";

    // A redirect to a scheme no download may take, its address made to retitle and clear
    // the terminal and print a forged result; refused before any signature is read.
    const auto forgedLocation = juce::String::fromUTF8 ("ftp://x/\x1b]0;TITLE\a\x1b[2J\x1b[HUpdate Succeeded - forged");
    const auto forgedLocationShown = juce::String::fromUTF8 ("ftp://x/\u241b]0;TITLE\u2407\u241b[2J\u241b[HUpdate Succeeded - forged");

    enum class Form
    {
        plain,          // lines into a pipe
        terminal,       // drawn on a terminal, the status and progress on one live line
        jsonDocument,
        jsonLines
    };

    bool isJson (Form form)
    {
        return form == Form::jsonDocument || form == Form::jsonLines;
    }

    juce::String withoutCursorUps (juce::String output)
    {
        for (int start = output.indexOf ("\x1b["); start >= 0; start = output.indexOf (start + 1, "\x1b["))
        {
            const auto count = output.substring (start + 2).initialSectionContainingOnly ("0123456789");

            if (count.isNotEmpty() && output[start + 2 + count.length()] == 'A')
                output = output.replaceSection (start, 3 + count.length(), {});
        }

        return output;
    }

    // The first character of output a terminal would act on or reorder by, as "U+XXXX at
    // N", or empty.
    // A line break is the output's own; on a terminal so are the carriage return its line
    // discipline puts before one, the erasing of a live line before each redraw, and the
    // cursor's moves up over several devices' live lines.
    juce::String firstControlIn (juce::String output, Form form)
    {
        if (form == Form::terminal)
            output = withoutCursorUps (output.replace ("\r\n", "\n").replace ("\r\x1b[K", ""));

        int index = 0;

        for (auto c : output)
        {
            if ((c < 0x20 && c != '\n') || (c >= 0x7f && c <= 0x9f) || TerminalText::isBidiControl (c))
                return "U+" + juce::String::toHexString ((int) c).paddedLeft ('0', 4) + " at " + juce::String (index);

            ++index;
        }

        return {};
    }

    // Python's json module reads output (each line, or the whole) and writes each value
    // back as ASCII JSON, one a line; nothing when it refuses any.
    std::optional<juce::StringArray> readByPython (const juce::String& output, Form form)
    {
        const juce::TemporaryFile file;
        file.getFile().replaceWithText (output);

        const char* script = "import json, sys\n"
                             "text = open (sys.argv[1], 'rb').read().decode ('utf-8')\n"
                             "documents = [line for line in text.split ('\\n') if line] if sys.argv[2] == 'lines' else [text]\n"
                             "for document in documents:\n"
                             "    print (json.dumps (json.loads (document), ensure_ascii=True))\n";

        juce::ChildProcess python;

        if (! python.start ({ "python3", "-c", script, file.getFile().getFullPathName(),
                              form == Form::jsonLines ? "lines" : "document" }, juce::ChildProcess::wantStdOut))
            return std::nullopt;

        const auto rewritten = python.readAllProcessOutput();

        if (! python.waitForProcessToFinish (10000) || python.getExitCode() != 0)
            return std::nullopt;

        return juce::StringArray::fromLines (rewritten.trimEnd());
    }

    void collectStrings (const juce::var& value, juce::StringArray& strings)
    {
        if (value.isString())
            strings.add (value.toString());

        if (const auto* array = value.getArray())
            for (const auto& item : *array)
                collectStrings (item, strings);

        if (auto* object = value.getDynamicObject())
            for (const auto& property : object->getProperties())
                collectStrings (property.value, strings);
    }

    bool anyContains (const juce::StringArray& strings, const juce::String& text)
    {
        return std::any_of (strings.begin(), strings.end(), [&] (const auto& s) { return s.contains (text); });
    }
}

TEST (CliOutputSafety, TextFromOutsideReachesTheTerminalOnlyAsVisibleStandInsAndJsonParsersReadItBack)
{
    LoopbackServer server;
    server.setAnswer ("/redirected.xml", LoopbackServer::Answer::redirectTo (forgedLocation));
    const auto redirected = server.getUrl ("/redirected.xml");

    struct Case
    {
        const char* program;
        juce::StringArray arguments;
        Form form;
        int exitCode;
        juce::StringArray shown;    // in the text as the terminal must show it, or in some JSON string as it is
    };

    const auto hostileName = HostileNames::deviceName();
    const auto hostilePort = "Calvio Hall Reverb" + HostileNames::portSuffix();
    const auto nameShown = HostileNames::deviceNameShown();
    const auto portShown = "Calvio Hall Reverb" + HostileNames::portSuffixShown();

    // clang-format off
    const Case cases[] = {
        { hostileProgram, { "--demo", "devices" },                    Form::plain,        0, { nameShown, portShown } },
        { hostileProgram, { "--demo", "updates" },                    Form::plain,        0, { nameShown } },
        { hostileProgram, { "--demo", "update", "--yes" },            Form::plain,        0, { nameShown, portShown } },
        { hostileProgram, { "--demo", "update", "--yes" },            Form::terminal,     0, { nameShown, portShown, "\r\x1b[K[" } },
        { hostileProgram, { "--demo", "devices", "--json" },          Form::jsonDocument, 0, { hostileName, hostilePort } },
        { hostileProgram, { "--demo", "updates", "--all", "--json" }, Form::jsonDocument, 0, { hostileName, hostilePort } },
        { hostileProgram, { "--demo", "update", "--yes", "--json" },  Form::jsonLines,    0, { hostileName, hostilePort } },
        { hostileProgram, { "--demo", "update", "--all", "--yes" },            Form::plain,     0, { "[1 Calvio Hall Reverb \"" + nameShown + "\"] Writing at" } },
        { hostileProgram, { "--demo", "update", "--all", "--yes" },            Form::terminal,  0, { "\r\x1b[K100%  1 Calvio Hall Reverb \"" + nameShown.substring (0, 20) } },
        { hostileProgram, { "--demo", "update", "--all", "--yes", "--json" },  Form::jsonLines, 0, { hostileName } },
        { "quillon-cli",  { "--demo", "--catalogue", redirected, "updates" },           Form::plain,        5, { forgedLocationShown } },
        { "quillon-cli",  { "--demo", "--catalogue", redirected, "updates", "--json" }, Form::jsonDocument, 5, { forgedLocation } },
    };
    // clang-format on

    for (const auto& c : cases)
    {
        SCOPED_TRACE (juce::String (c.program) + " " + c.arguments.joinIntoString (" "));
        const auto output = c.form == Form::terminal ? CliProcess::Output::terminal : CliProcess::Output::pipe;
        const auto result = CliProcess::run (c.arguments, CliProcess::defaultTimeoutMs, output, c.program);

        EXPECT_EQ (result.exitCode, c.exitCode) << result.output << result.errors;
        EXPECT_EQ (firstControlIn (result.output, c.form), juce::String()) << result.output;
        EXPECT_EQ (firstControlIn (result.errors, Form::plain), juce::String()) << result.errors;

        if (! isJson (c.form))
        {
            for (const auto& text : c.shown)
                EXPECT_TRUE (result.output.contains (text)) << text << "\nin:\n" << result.output;

            continue;
        }

        const auto rewritten = readByPython (result.output, c.form);
        EXPECT_TRUE (rewritten.has_value()) << "Python's json module refused:\n" << result.output;

        if (! rewritten.has_value())
            continue;

        juce::StringArray strings;

        for (const auto& line : *rewritten)
            collectStrings (juce::JSON::parse (line), strings);

        for (const auto& text : c.shown)
            EXPECT_TRUE (anyContains (strings, text)) << text << "\nin:\n" << result.output;
    }
}
