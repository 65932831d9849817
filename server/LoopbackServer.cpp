#include "server/LoopbackServer.h"

#include <chrono>
#include <condition_variable>
#include <map>
#include <mutex>
#include <stdexcept>
#include <thread>

#include <httplib.h>

namespace
{
    // The kind of page a web server sends for a missing file; its first characters
    // are what the program recognises as "a web page instead of the file".
    const char* const notFoundPage =
        "<!DOCTYPE HTML PUBLIC \"-//IETF//DTD HTML 2.0//EN\">\n"
        "<html><head><title>404 Not Found</title></head><body>\n"
        "<h1>Not Found</h1><p>The requested URL was not found on this server.</p>\n"
        "</body></html>\n";

    juce::String contentTypeFor (const juce::File& file)
    {
        if (file.hasFileExtension ("xml"))
            return "text/xml";

        if (file.hasFileExtension ("html;htm"))
            return "text/html";

        return "application/octet-stream";
    }

    const char* bytesOf (const juce::MemoryBlock& block, size_t offset)
    {
        return static_cast<const char*> (block.getData()) + offset;
    }
}

struct LoopbackServer::Impl
{
    void handle (const httplib::Request& request, httplib::Response& response);
    void record (const httplib::Request& request);
    std::shared_ptr<const Answer> answerFor (const std::string& path);
    void send (const std::shared_ptr<const Answer>& answer, httplib::Response& response);
    bool writeNextPiece (const Answer& answer, size_t offset, httplib::DataSink& sink);
    bool pauseUnlessStopping (int milliseconds);
    void waitUntilStopping();

    httplib::Server server;
    std::thread listener;
    int port = -1;

    mutable std::mutex lock;               // guards the members below
    std::condition_variable stopRequested;  // wakes the answers that stall
    bool stopping = false;
    std::map<std::string, std::shared_ptr<const Answer>> answers;
    juce::File folder;
    std::vector<Request> requests;
};

void LoopbackServer::Impl::handle (const httplib::Request& request, httplib::Response& response)
{
    record (request);

    if (const auto answer = answerFor (request.path))
    {
        send (answer, response);
    }
    else
    {
        response.status = 404;
        response.set_content (notFoundPage, "text/html");
    }
}

void LoopbackServer::Impl::record (const httplib::Request& request)
{
    Request received;
    received.target = juce::String::fromUTF8 (request.target.c_str());

    for (const auto& header : request.headers)
        received.headers.set (juce::String::fromUTF8 (header.first.c_str()),
                              juce::String::fromUTF8 (header.second.c_str()));

    const std::lock_guard<std::mutex> guard (lock);
    requests.push_back (std::move (received));
}

std::shared_ptr<const LoopbackServer::Answer> LoopbackServer::Impl::answerFor (const std::string& path)
{
    const std::lock_guard<std::mutex> guard (lock);

    if (const auto scripted = answers.find (path); scripted != answers.end())
        return scripted->second;

    if (folder == juce::File())
        return {};

    // getChildFile resolves "..", so anything outside the folder is refused here.
    const auto file = folder.getChildFile (juce::String::fromUTF8 (path.c_str()).trimCharactersAtStart ("/"));

    if (! file.isAChildOf (folder) || ! file.existsAsFile())
        return {};

    juce::MemoryBlock content;
    file.loadFileAsData (content);
    auto answer = std::make_shared<Answer> (Answer::withData (content));
    answer->contentType = contentTypeFor (file);
    return answer;
}

void LoopbackServer::Impl::send (const std::shared_ptr<const Answer>& answer, httplib::Response& response)
{
    response.status = answer->status;
    const auto type = answer->contentType.toStdString();

    if (answer->location.isNotEmpty())
        response.set_header ("Location", answer->location.toStdString());

    const bool plain = answer->pieceSize == 0 && answer->pauseBetweenPiecesMs == 0
                    && ! answer->stallAfter && ! answer->closeAfter && ! answer->endless;

    if (plain && answer->announceLength)
    {
        response.set_content (bytesOf (answer->body, 0), answer->body.getSize(), type);
    }
    else if (answer->announceLength && ! answer->endless)
    {
        response.set_content_provider (answer->body.getSize(), type,
                                       [this, answer] (size_t offset, size_t, httplib::DataSink& sink)
                                       { return writeNextPiece (*answer, offset, sink); });
    }
    else
    {
        response.set_chunked_content_provider (type, [this, answer] (size_t offset, httplib::DataSink& sink)
                                               { return writeNextPiece (*answer, offset, sink); });
    }
}

// Returning false drops the connection, which is how a body is cut short.
bool LoopbackServer::Impl::writeNextPiece (const Answer& answer, size_t offset, httplib::DataSink& sink)
{
    if (answer.closeAfter && offset >= *answer.closeAfter)
        return false;

    if (answer.stallAfter && offset >= *answer.stallAfter)
    {
        waitUntilStopping();
        return false;
    }

    if (offset > 0 && answer.pauseBetweenPiecesMs > 0 && ! pauseUnlessStopping (answer.pauseBetweenPiecesMs))
        return false;

    const auto size = answer.body.getSize();

    if (answer.endless)
        return sink.write (bytesOf (answer.body, offset % size), size - offset % size);

    if (offset >= size)
    {
        sink.done();
        return true;
    }

    auto end = size;

    if (answer.pieceSize > 0)
        end = std::min (end, offset + answer.pieceSize);

    for (const auto& stop : { answer.closeAfter, answer.stallAfter })
        if (stop)
            end = std::min (end, *stop);

    return sink.write (bytesOf (answer.body, offset), end - offset);
}

// False when the server stops during the pause.
bool LoopbackServer::Impl::pauseUnlessStopping (int milliseconds)
{
    std::unique_lock<std::mutex> guard (lock);
    return ! stopRequested.wait_for (guard, std::chrono::milliseconds (milliseconds), [this] { return stopping; });
}

void LoopbackServer::Impl::waitUntilStopping()
{
    std::unique_lock<std::mutex> guard (lock);
    stopRequested.wait (guard, [this] { return stopping; });
}

//==============================================================================
LoopbackServer::Answer LoopbackServer::Answer::redirectTo (const juce::String& location, int status)
{
    auto answer = withText ("Moved", status);
    answer.location = location;
    return answer;
}

LoopbackServer::Answer LoopbackServer::Answer::withText (const juce::String& text, int status,
                                                         const juce::String& contentType)
{
    Answer answer;
    answer.status = status;
    answer.contentType = contentType;
    answer.body.append (text.toRawUTF8(), text.getNumBytesAsUTF8());
    return answer;
}

LoopbackServer::Answer LoopbackServer::Answer::withData (const juce::MemoryBlock& data)
{
    Answer answer;
    answer.body = data;
    return answer;
}

LoopbackServer::LoopbackServer()
    : impl (std::make_unique<Impl>())
{
    impl->server.Get (".*", [this] (const httplib::Request& request, httplib::Response& response)
                      { impl->handle (request, response); });

    impl->port = impl->server.bind_to_any_port ("127.0.0.1");

    if (impl->port < 0)
        throw std::runtime_error ("LoopbackServer: cannot bind a port on 127.0.0.1");

    impl->listener = std::thread ([this] { impl->server.listen_after_bind(); });

    // stop() only works once the listening loop runs.
    while (! impl->server.is_running())
        std::this_thread::sleep_for (std::chrono::milliseconds (1));
}

LoopbackServer::~LoopbackServer()
{
    {
        const std::lock_guard<std::mutex> guard (impl->lock);
        impl->stopping = true;
    }

    impl->stopRequested.notify_all();
    impl->server.stop();
    impl->listener.join();
}

int LoopbackServer::getPort() const noexcept
{
    return impl->port;
}

juce::String LoopbackServer::getUrl (const juce::String& path) const
{
    return "http://127.0.0.1:" + juce::String (impl->port) + path;
}

void LoopbackServer::serveFolder (const juce::File& folderToServe)
{
    const std::lock_guard<std::mutex> guard (impl->lock);
    impl->folder = folderToServe;
}

void LoopbackServer::setAnswer (const juce::String& path, Answer answer)
{
    const std::lock_guard<std::mutex> guard (impl->lock);
    impl->answers[path.toStdString()] = std::make_shared<const Answer> (std::move (answer));
}

std::vector<LoopbackServer::Request> LoopbackServer::getRequests() const
{
    const std::lock_guard<std::mutex> guard (impl->lock);
    return impl->requests;
}
