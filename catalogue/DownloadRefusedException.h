#pragma once

#include <exception>
#include <juce_core/juce_core.h>

/** A download that this program will not make or finish: the address is not one it
    may read (or a server redirects where it may not lead), a local path names no
    regular file, the file is larger than the downloader's limit, or the download has
    taken longer than its deadline. It is refused before a connection is made or
    before more memory or time is spent on it. what() is the text the user reads on
    the results page.
*/
class DownloadRefusedException : public std::exception
{
public:
    explicit DownloadRefusedException (juce::String messageToUse);

    const char* what() const noexcept override;

private:
    juce::String message;
};
