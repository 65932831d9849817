#include "sequencer/SequencerServer.h"

#include "sequencer/ServerConnection.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <list>
#include <mutex>
#include <poll.h>
#include <stdexcept>
#include <sys/socket.h>
#include <sys/un.h>
#include <thread>
#include <unistd.h>

class SequencerServer::Connections
{
public:
    Connections (SequencerKernel& k, const std::string& path)
        : kernel (k), socketPath (path)
    {
        sockaddr_un address {};
        address.sun_family = AF_UNIX;

        if (path.size() >= sizeof (address.sun_path))
            throw std::runtime_error ("sequencer socket path too long: " + path);

        std::memcpy (address.sun_path, path.c_str(), path.size() + 1);
        listener = ::socket (AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        ::unlink (path.c_str());

        if (listener < 0 || ::pipe2 (wake, O_CLOEXEC) != 0
             || ::bind (listener, reinterpret_cast<const sockaddr*> (&address), sizeof (address)) != 0
             || ::listen (listener, 16) != 0)
        {
            closeAll();
            throw std::runtime_error ("cannot listen on " + path + ": " + std::strerror (errno));
        }

        acceptor = std::thread ([this] { acceptConnections(); });
    }

    ~Connections()
    {
        const char stop = 1;
        [[maybe_unused]] const auto written = ::write (wake[1], &stop, 1);
        acceptor.join();
        live.clear();
        ::unlink (socketPath.c_str());
        closeAll();
    }

private:
    void acceptConnections()
    {
        pollfd watched[] { { listener, POLLIN, 0 }, { wake[0], POLLIN, 0 } };

        while (::poll (watched, 2, -1) >= 0 || errno == EINTR)
        {
            if ((watched[1].revents & POLLIN) != 0)
                return;

            if ((watched[0].revents & POLLIN) == 0)
                continue;

            const auto socket = ::accept4 (listener, nullptr, nullptr, SOCK_CLOEXEC);

            if (socket < 0)
                continue;

            // Programs that have gone leave a finished thread behind: join those first.
            live.remove_if ([] (const auto& connection) { return connection->hasEnded(); });
            live.push_back (std::make_unique<ServerConnection> (kernel, socket));
        }
    }

    void closeAll()
    {
        for (auto descriptor : { listener, wake[0], wake[1] })
            if (descriptor >= 0)
                ::close (descriptor);
    }

    SequencerKernel& kernel;
    const std::string socketPath;
    int listener = -1;
    int wake[2] { -1, -1 };

    // Only the acceptor's thread touches it while it runs; the destructor after joining it.
    std::list<std::unique_ptr<ServerConnection>> live;
    std::thread acceptor;
};

SequencerServer::SequencerServer (SequencerKernel& kernel, const std::string& socketPath)
    : connections (std::make_unique<Connections> (kernel, socketPath))
{
}

SequencerServer::~SequencerServer() = default;
