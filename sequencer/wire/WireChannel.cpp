#include "sequencer/wire/WireChannel.h"

#include "sequencer/wire/WireProtocol.h"

#include <cerrno>
#include <cstring>
#include <sys/socket.h>
#include <unistd.h>

namespace
{
    bool receiveAll (int socket, std::uint8_t* data, std::size_t size)
    {
        while (size > 0)
        {
            const auto got = ::recv (socket, data, size, 0);

            if (got < 0 && errno == EINTR)
                continue;

            if (got <= 0)
                return false;

            data += got;
            size -= (std::size_t) got;
        }

        return true;
    }

    void keepDescriptors (msghdr& message, int* receivedDescriptor)
    {
        for (auto* header = CMSG_FIRSTHDR (&message); header != nullptr; header = CMSG_NXTHDR (&message, header))
        {
            if (header->cmsg_level != SOL_SOCKET || header->cmsg_type != SCM_RIGHTS)
                continue;

            const auto count = (header->cmsg_len - CMSG_LEN (0)) / sizeof (int);

            for (std::size_t i = 0; i < count; ++i)
            {
                int descriptor = -1;
                std::memcpy (&descriptor, CMSG_DATA (header) + i * sizeof (int), sizeof (int));

                if (receivedDescriptor != nullptr && *receivedDescriptor == -1)
                    *receivedDescriptor = descriptor;
                else
                    ::close (descriptor);
            }
        }
    }
}

WireChannel::WireChannel (int s) noexcept
    : socket (s)
{
}

WireChannel::~WireChannel()
{
    if (socket >= 0)
        ::close (socket);
}

bool WireChannel::send (const WireBuffer& frame, int descriptorToPass)
{
    const auto& payload = frame.getBytes();
    std::vector<std::uint8_t> bytes (sizeof (std::uint32_t) + payload.size());
    const auto size = (std::uint32_t) payload.size();
    std::memcpy (bytes.data(), &size, sizeof (size));
    std::memcpy (bytes.data() + sizeof (size), payload.data(), payload.size());

    alignas (cmsghdr) char control[CMSG_SPACE (sizeof (int))] {};
    std::size_t sent = 0;

    while (sent < bytes.size())
    {
        iovec part { bytes.data() + sent, bytes.size() - sent };
        msghdr message {};
        message.msg_iov = &part;
        message.msg_iovlen = 1;

        if (sent == 0 && descriptorToPass >= 0)
        {
            message.msg_control = control;
            message.msg_controllen = sizeof (control);
            auto* header = CMSG_FIRSTHDR (&message);
            header->cmsg_level = SOL_SOCKET;
            header->cmsg_type = SCM_RIGHTS;
            header->cmsg_len = CMSG_LEN (sizeof (int));
            std::memcpy (CMSG_DATA (header), &descriptorToPass, sizeof (int));
        }

        const auto written = ::sendmsg (socket, &message, MSG_NOSIGNAL);

        if (written < 0 && errno == EINTR)
            continue;

        if (written <= 0)
            return false;

        sent += (std::size_t) written;
    }

    return true;
}

bool WireChannel::receiveHeader (std::uint32_t& size, int* receivedDescriptor)
{
    auto* data = reinterpret_cast<std::uint8_t*> (&size);
    std::size_t got = 0;

    while (got < sizeof (size))
    {
        alignas (cmsghdr) char control[CMSG_SPACE (2 * sizeof (int))] {};
        iovec part { data + got, sizeof (size) - got };
        msghdr message {};
        message.msg_iov = &part;
        message.msg_iovlen = 1;
        message.msg_control = control;
        message.msg_controllen = sizeof (control);

        const auto received = ::recvmsg (socket, &message, MSG_CMSG_CLOEXEC);

        if (received < 0 && errno == EINTR)
            continue;

        if (received <= 0)
            return false;

        keepDescriptors (message, receivedDescriptor);
        got += (std::size_t) received;
    }

    return true;
}

bool WireChannel::receive (WireBuffer& frame, int* receivedDescriptor)
{
    std::uint32_t size = 0;

    if (! receiveHeader (size, receivedDescriptor) || size > wire::maxFrameBytes)
        return false;

    std::vector<std::uint8_t> bytes (size);

    if (! receiveAll (socket, bytes.data(), bytes.size()))
        return false;

    frame = WireBuffer (std::move (bytes));
    return true;
}

void WireChannel::shutdown() noexcept
{
    ::shutdown (socket, SHUT_RDWR);
}
