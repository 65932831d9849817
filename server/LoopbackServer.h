#pragma once

#include <memory>
#include <optional>
#include <vector>
#include <juce_core/juce_core.h>

/** An HTTP server on 127.0.0.1, at a port the system chooses, inside this process:
    it stands in for the update server in tests and in the demo.

    It serves scripted answers by path and, for other paths, the files of a folder;
    anything else gets a web server's usual "404 Not Found" page. Every request is
    recorded. It answers on threads of its own from construction to destruction;
    destruction releases answers that stall and waits for the threads to end.
*/
class LoopbackServer
{
public:
    /** A scripted answer: a status and a body, and how the body is sent. */
    struct Answer
    {
        static Answer withText (const juce::String& text, int status = 200,
                                const juce::String& contentType = "text/html");
        static Answer withData (const juce::MemoryBlock& data);
        static Answer redirectTo (const juce::String& location, int status = 302);

        int status = 200;
        juce::String contentType { "application/octet-stream" };
        juce::MemoryBlock body;

        /** 0 sends the body in one write; otherwise in writes of this many bytes. */
        size_t pieceSize = 0;

        /** Waits this long before each piece after the first, as a server that trickles
            the body does.
        */
        int pauseBetweenPiecesMs = 0;

        /** With a Content-Length header, or else with chunked transfer encoding. */
        bool announceLength = true;

        /** Sends this many bytes of the body, then nothing more until the server stops. */
        std::optional<size_t> stallAfter;

        /** Sends this many bytes of the body, then drops the connection. */
        std::optional<size_t> closeAfter;

        /** Sent as the Location header when not empty, as a redirect's is. */
        juce::String location;

        /** Sends the body over and over, chunked and without end, as a hostile server
            may; the body must not be empty.
        */
        bool endless = false;
    };

    /** What a client asked for: the request target as sent (path and query) and its headers. */
    struct Request
    {
        juce::String target;
        juce::StringPairArray headers;
    };

    /** Throws std::runtime_error when no port can be bound. */
    LoopbackServer();
    ~LoopbackServer();

    int getPort() const noexcept;

    /** "http://127.0.0.1:<port>" followed by path, which starts with a slash. */
    juce::String getUrl (const juce::String& path) const;

    /** Any thread. Serves the files under folder for paths without a scripted answer. */
    void serveFolder (const juce::File& folder);

    /** Any thread. Replaces any earlier answer for this path (without the query). */
    void setAnswer (const juce::String& path, Answer answer);

    /** Any thread. The requests received so far, oldest first. */
    std::vector<Request> getRequests() const;

private:
    struct Impl;
    std::unique_ptr<Impl> impl;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (LoopbackServer)
};
