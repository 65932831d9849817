#pragma once

#include <stdexcept>
#include <juce_core/juce_core.h>

/** What quillon-catalogue exits with. Scripts may rely on these values. */
enum class ExitCode
{
    success = 0,     // done; for verify: the signature is valid
    notValid = 1,    // verify: the signature is missing, malformed or not over these bytes
    usage = 2,       // the command line is wrong
    failed = 3,      // an input could not be read or is not what it must be, or an output could not be written
    incomplete = 4   // stamp: the catalogue was written, but some revisions were left unstamped
};

/** A command cannot go on: the message for the user (UTF-8) and the exit code. */
class ToolError : public std::runtime_error
{
public:
    explicit ToolError (const juce::String& message, ExitCode code = ExitCode::failed)
        : std::runtime_error (message.toStdString()),
          exitCode (code)
    {
    }

    const ExitCode exitCode;
};
