#include "server/LoopbackServer.h"
#include "tests/cli/CliProcess.h"
#include "tests/support/UserTexts.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <unistd.h>

// --trace names a node that may already be there: the trace is written into a regular
// file or a pipe as they are, anything else is refused before anything runs, and the
// node is never removed or replaced.
namespace
{
    enum class Node
    {
        regularFile,
        fifoWithReader,
        fifoWithoutReader,
        characterDevice,
        folder,
        socket,
        linkToFile,
        linkToDevice
    };

    struct NodeIdentity
    {
        mode_t kind = 0;
        ino_t inode = 0;

        bool operator== (const NodeIdentity& other) const { return kind == other.kind && inode == other.inode; }
    };

    std::optional<NodeIdentity> identify (const juce::File& file)
    {
        struct stat node = {};

        if (lstat (file.getFullPathName().toRawUTF8(), &node) != 0)
            return std::nullopt;

        return NodeIdentity { node.st_mode & S_IFMT, node.st_ino };
    }

    // What was there before the trace: whatever is left of it shows the file was not emptied.
    constexpr auto staleText = "stale line from an earlier run\n";

    /** The node a case writes its trace to, made in a folder of its own, with what it
        needs while the client runs (the pipe's reader, the socket) and afterwards the
        text that reached it.
    */
    class TraceNode
    {
    public:
        TraceNode (Node kindToMake, const juce::File& folderToUse)
            : kind (kindToMake), folder (folderToUse), path (folder.getChildFile ("trace"))
        {
            const auto name = path.getFullPathName().toRawUTF8();
            const auto target = folder.getChildFile ("target");

            switch (kind)
            {
                case Node::regularFile:
                    path.replaceWithText (juce::String::repeatedString (staleText, 100));
                    break;
                case Node::fifoWithReader:
                    mkfifo (name, 0600);
                    descriptor = open (name, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
                    break;
                case Node::fifoWithoutReader:
                    mkfifo (name, 0600);
                    break;
                case Node::characterDevice:
                    makeNullDevice (path);
                    break;
                case Node::folder:
                    path.createDirectory();
                    break;
                case Node::socket:
                    bindSocket (name);
                    break;
                case Node::linkToFile:
                    target.replaceWithText (juce::String::repeatedString (staleText, 100));
                    target.createSymbolicLink (path, false);
                    break;
                case Node::linkToDevice:
                    makeNullDevice (target);
                    target.createSymbolicLink (path, false);
                    break;
            }

            before = identify (path);
            targetBefore = identify (target);
        }

        ~TraceNode()
        {
            if (descriptor >= 0)
                close (descriptor);
        }

        bool isAccepted() const
        {
            return kind == Node::regularFile || kind == Node::fifoWithReader || kind == Node::linkToFile;
        }

        /** What the client wrote, read from the node itself. */
        juce::String readTrace() const
        {
            if (kind != Node::fifoWithReader)
                return path.loadFileAsString();

            juce::MemoryOutputStream text;
            char buffer[4096];

            for (ssize_t count; (count = read (descriptor, buffer, sizeof (buffer))) > 0;)
                text.write (buffer, (size_t) count);

            return text.toUTF8();
        }

        bool isUnchanged() const
        {
            return identify (path) == before && identify (folder.getChildFile ("target")) == targetBefore;
        }

        const juce::File& getPath() const noexcept { return path; }

    private:
        // A device like /dev/null, where the tests may make one (as root); else /dev/null
        // itself, which nobody else could remove either.
        void makeNullDevice (const juce::File& file)
        {
            if (mknod (file.getFullPathName().toRawUTF8(), S_IFCHR | 0666, makedev (1, 3)) != 0)
                juce::File ("/dev/null").createSymbolicLink (file, false);
        }

        void bindSocket (const char* name)
        {
            descriptor = ::socket (AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
            sockaddr_un address = {};
            address.sun_family = AF_UNIX;
            std::strncpy (address.sun_path, name, sizeof (address.sun_path) - 1);
            bind (descriptor, reinterpret_cast<const sockaddr*> (&address), sizeof (address));
        }

        const Node kind;
        const juce::File folder;
        const juce::File path;
        int descriptor = -1;
        std::optional<NodeIdentity> before;
        std::optional<NodeIdentity> targetBefore;
    };
}

TEST (CliTraceFile, WritesIntoARegularFileOrAPipeAsTheyAreAndRefusesAnyOtherNodeLeavingItInPlace)
{
    struct Case
    {
        Node node;
        const char* refusal;    // in the error when refused
    };

    // clang-format off
    const Case cases[] = {
        { Node::regularFile,       nullptr },
        { Node::fifoWithReader,    nullptr },
        { Node::linkToFile,        nullptr },
        { Node::fifoWithoutReader, "it is a pipe that nothing reads from" },
        { Node::characterDevice,   "it is a device" },
        { Node::linkToDevice,      "it is a device" },
        { Node::folder,            "it is a folder" },
        { Node::socket,            "it is a socket" },
    };
    // clang-format on

    for (const auto& c : cases)
    {
        const auto folder = juce::File::createTempFile ("trace");
        ASSERT_TRUE (folder.createDirectory().wasOk());
        const TraceNode node (c.node, folder);
        SCOPED_TRACE ("node " + juce::String ((int) c.node));

        const auto result = CliProcess::run ({ "--demo", "--trace", node.getPath().getFullPathName(), "devices" });

        EXPECT_TRUE (node.isUnchanged());
        const auto trace = node.isAccepted() ? node.readTrace() : juce::String();
        folder.deleteRecursively();

        if (node.isAccepted())
        {
            EXPECT_EQ (result.exitCode, 0) << result.output << result.errors;
            EXPECT_TRUE (trace.contains (" out F0 ")) << trace;
            EXPECT_FALSE (trace.contains (staleText)) << trace;
            continue;
        }

        EXPECT_EQ (result.exitCode, 1) << result.output << result.errors;
        EXPECT_TRUE (result.output.isEmpty()) << result.output;
        EXPECT_TRUE (result.errors.contains ("cannot write the trace to " + node.getPath().getFullPathName() + ": " + c.refusal))
            << result.errors;
    }
}

TEST (CliTraceFile, APipeWhoseReaderHasGoneEndsTheTraceButNotTheRun)
{
    const auto folder = juce::File::createTempFile ("trace");
    ASSERT_TRUE (folder.createDirectory().wasOk());
    const auto pipe = folder.getChildFile ("trace");
    ASSERT_EQ (mkfifo (pipe.getFullPathName().toRawUTF8(), 0600), 0);
    const auto reader = open (pipe.getFullPathName().toRawUTF8(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);

    // Without --demo, whose own server would have the client ignore SIGPIPE anyway: the
    // catalogue's server holds its answer until the reader has gone.
    auto server = std::make_unique<LoopbackServer>();
    auto held = LoopbackServer::Answer::withText (juce::String::repeatedString ("x", 100));
    held.stallAfter = 0;
    server->setAnswer ("/UpdateTargets.xml", held);
    CliProcess process ({ "--catalogue", server->getUrl ("/UpdateTargets.xml"), "--trace", pipe.getFullPathName(), "devices" });

    pollfd ready { reader, POLLIN, 0 };
    EXPECT_EQ (poll (&ready, 1, 10000), 1);
    close (reader);

    // Bounded well short of the process's own wait: a client killed by its first write
    // to the pipe never asks.
    for (int waits = 0; server->getRequests().empty() && waits < 1000; ++waits)
        juce::Thread::sleep (10);

    // Every line from here on finds nobody to read it.
    server.reset();

    EXPECT_EQ (process.waitForExit (CliProcess::defaultTimeoutMs), std::optional<int> (4)) << process.getErrors();
    EXPECT_TRUE (process.getOutput().contains (UserTexts::unableToConnect)) << process.getOutput();
    folder.deleteRecursively();
}
