#include "tests/sequencer/SequencerWorld.h"

#include <chrono>
#include <dlfcn.h>
#include <stdexcept>
#include <thread>

namespace
{
    juce::String libraryOf (const void* symbol)
    {
        Dl_info info {};
        return dladdr (symbol, &info) != 0 && info.dli_fname != nullptr ? juce::String (info.dli_fname) : juce::String();
    }
}

SequencerWorld& SequencerWorld::get()
{
    static SequencerWorld world;
    return world;
}

SequencerWorld::SequencerWorld()
{
    const auto library = libraryOf (reinterpret_cast<const void*> (&snd_seq_open));

    if (! library.endsWith ("sequencer/libasound.so.2"))
        throw std::runtime_error ("these tests need the stand-in libasound (LD_LIBRARY_PATH=<build>/sequencer), not "
                                  + library.toStdString());

    socketFolder.getFile().createDirectory();
    const auto socketPath = socketFolder.getFile().getChildFile ("seq").getFullPathName().toStdString();
    server = std::make_unique<SequencerServer> (kernel, socketPath);
    setenv (SequencerServer::socketVariable, socketPath.c_str(), 1);
}

std::vector<SequencerKernel::PortState> SequencerWorld::userPorts() const
{
    std::vector<SequencerKernel::PortState> ports;

    for (const auto& client : kernel.clients())
        if (! client.isKernelClient)
            ports.insert (ports.end(), client.ports.begin(), client.ports.end());

    return ports;
}

bool SequencerWorld::waitUntilNoUserPorts() const
{
    for (int attempt = 0; attempt < 500; ++attempt)
    {
        if (userPorts().empty())
            return true;

        std::this_thread::sleep_for (std::chrono::milliseconds (10));
    }

    return false;
}
