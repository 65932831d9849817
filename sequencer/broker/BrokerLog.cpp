#include "sequencer/broker/BrokerLog.h"

#include "cli/TerminalText.h"

#include <algorithm>
#include <cstdio>

namespace
{
    using ClientState = SequencerKernel::ClientState;
    using PortState = SequencerKernel::PortState;
    using Subscription = SequencerKernel::Subscription;

    const ClientState* findClient (const std::vector<ClientState>& clients, int number)
    {
        const auto found = std::find_if (clients.begin(), clients.end(),
                                         [number] (const ClientState& client) { return client.client == number; });
        return found != clients.end() ? &*found : nullptr;
    }

    bool hasPort (const ClientState& client, int number)
    {
        return std::any_of (client.ports.begin(), client.ports.end(),
                            [number] (const PortState& port) { return port.port == number; });
    }

    bool sameSubscription (const Subscription& a, const Subscription& b)
    {
        return a.sender.client == b.sender.client && a.sender.port == b.sender.port
            && a.dest.client == b.dest.client && a.dest.port == b.dest.port;
    }

    bool contains (const std::vector<Subscription>& subscriptions, const Subscription& wanted)
    {
        return std::any_of (subscriptions.begin(), subscriptions.end(),
                            [&wanted] (const Subscription& s) { return sameSubscription (s, wanted); });
    }

    juce::String address (int client, int port)
    {
        return juce::String (client) + ":" + juce::String (port);
    }

    void printLine (const juce::String& line)
    {
        std::fputs ((line + "\n").toRawUTF8(), stdout);
        std::fflush (stdout);
    }

    juce::String describe (const Subscription& subscription)
    {
        return address (subscription.sender.client, subscription.sender.port) + " -> "
             + address (subscription.dest.client, subscription.dest.port);
    }
}

BrokerLog::BrokerLog (const juce::File& logFile)
{
    if (logFile == juce::File())
        return;

    file = std::make_unique<juce::FileOutputStream> (logFile);

    if (file->openedOk())
    {
        file->setPosition (0);
        file->truncate();
    }
}

bool BrokerLog::openedOk() const noexcept
{
    return file == nullptr || file->openedOk();
}

void BrokerLog::showChanges (const std::vector<ClientState>& clients, const std::vector<Subscription>& subscriptions)
{
    // A subscription ends before its ports go, and starts once they are there.
    showSubscriptionsMissing (shownSubscriptions, subscriptions, "unsubscribed ");
    showClientChanges (clients);
    showSubscriptionsMissing (subscriptions, shownSubscriptions, "subscribed ");
    shownSubscriptions = subscriptions;
}

void BrokerLog::write (const juce::String& line)
{
    if (file != nullptr)
    {
        *file << line << "\n";
        file->flush();
        return;
    }

    printLine (line);
}

void BrokerLog::report (const juce::String& line)
{
    write (line);

    if (file != nullptr)
        printLine (line);
}

juce::String BrokerLog::userClients (const std::vector<ClientState>& clients)
{
    juce::StringArray users;

    for (const auto& client : clients)
        if (! client.isKernelClient)
            users.add (juce::String (client.client) + " " + visible (client.name));

    return users.isEmpty() ? "none" : users.joinIntoString (", ");
}

juce::String BrokerLog::visible (const std::string& name)
{
    return TerminalText::visible (juce::String::fromUTF8 (name.data(), (int) name.size()));
}

void BrokerLog::showClientChanges (const std::vector<ClientState>& clients)
{
    for (const auto& shown : shownClients)
    {
        const auto* now = findClient (clients, shown.client);

        for (const auto& port : shown.ports)
            if (now != nullptr && ! hasPort (*now, port.port))
                write ("port " + address (shown.client, port.port) + " deleted: " + visible (port.name));

        if (now == nullptr)
            write ("client " + juce::String (shown.client) + " left: " + visible (shown.name));
    }

    for (const auto& client : clients)
    {
        const auto* before = findClient (shownClients, client.client);

        if (before == nullptr)
            write ("client " + juce::String (client.client) + " joined: " + visible (client.name));
        else if (before->name != client.name)
            write ("client " + juce::String (client.client) + " renamed: " + visible (client.name));

        for (const auto& port : client.ports)
            if (before == nullptr || ! hasPort (*before, port.port))
                write ("port " + address (client.client, port.port) + " made: " + visible (port.name));
    }

    shownClients = clients;
}

void BrokerLog::showSubscriptionsMissing (const std::vector<Subscription>& subscriptions,
                                          const std::vector<Subscription>& from, const juce::String& change)
{
    for (const auto& subscription : subscriptions)
        if (! contains (from, subscription))
            write (change + describe (subscription));
}
