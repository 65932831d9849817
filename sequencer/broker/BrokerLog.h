#pragma once

#include "sequencer/SequencerKernel.h"

#include <juce_core/juce_core.h>

/** The broker's account of what the kernel shows, one line per change: clients joining,
    leaving and renamed, ports made and deleted, subscriptions made and removed. It compares
    snapshots, so the kernel needs no listener. Names come from the clients, so their
    control characters are replaced before they are written. Owner's thread.
*/
class BrokerLog
{
public:
    /** Writes to file, emptied first, or to standard output for juce::File(). */
    explicit BrokerLog (const juce::File& file);

    bool openedOk() const noexcept;

    /** Writes the differences between the last snapshot shown and this one. */
    void showChanges (const std::vector<SequencerKernel::ClientState>& clients,
                      const std::vector<SequencerKernel::Subscription>& subscriptions);

    void write (const juce::String& line);

    /** A line of the broker's result: written to the log and, when that is a file, to
        standard output as well.
    */
    void report (const juce::String& line);

    /** The user clients of clients (not the kernel's own), as "128 quillon, ...", or "none". */
    static juce::String userClients (const std::vector<SequencerKernel::ClientState>& clients);

    static juce::String visible (const std::string& name);

private:
    void showClientChanges (const std::vector<SequencerKernel::ClientState>& clients);
    void showSubscriptionsMissing (const std::vector<SequencerKernel::Subscription>& subscriptions,
                                   const std::vector<SequencerKernel::Subscription>& from, const juce::String& change);

    std::unique_ptr<juce::FileOutputStream> file;
    std::vector<SequencerKernel::ClientState> shownClients;
    std::vector<SequencerKernel::Subscription> shownSubscriptions;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (BrokerLog)
};
