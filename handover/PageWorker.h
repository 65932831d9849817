#pragma once

#include <functional>
#include <memory>
#include <juce_core/juce_core.h>

#include "handover/ModalStateTracker.h"

namespace juce { class Component; }

/** A long step of the wizard, run on its own thread while its page sits in its modal
    loop: the thread does the step's work, then ends the page's modal state with 1 so
    that the loop returns and the controller reads the results.

    Two things ask the step to stop: the thread being told to exit (the window is
    closing, or the controller has given up on it), and the page leaving its modal state
    (the user's Cancel). shouldAbort() says whether either has happened.

    A worker is never killed (a killed thread may die holding a lock or half-way
    through a message to a device): stopping it means telling it to exit and waiting,
    however long, which is why every wait of a worker must wake up soon after it has
    been told to exit.

    Every derived class calls stop() first in its own destructor. By the time this
    base's destructor runs, the derived members are gone, and run() may still be
    reading them: its work, its results, what it reports to. Stopping here would be too
    late for them; this base stops again only for its own tracker.
*/
class PageWorker : public juce::Thread
{
public:
    /** Message thread. page is borrowed and may be null. A page must already be in its
        modal state: a worker that finished before the page entered it would lose its
        end of that state, and the page's modal loop would wait for ever.
    */
    PageWorker (const juce::String& name, juce::Component* page);

    /** Message thread. Waits for a thread that a derived class left running. */
    ~PageWorker() override;

    /** This thread: the step's work, then the end of the page's modal state. */
    void run() final;

    /** Any thread. True once the thread has been told to exit or the page has left
        its modal state; it keeps answering true from then on.
    */
    bool shouldAbort() const noexcept;

    /** The same test, for callbacks that take a plain function and a context: the
        context must be the worker, as abortContext() gives it.
    */
    static bool shouldAbort (void* context) noexcept;

    /** Message thread, before the thread starts. ended is called on this thread as the
        last thing it does, after the page's modal state has ended: for whoever runs
        several workers and waits for the first of them to end. It must not block.
    */
    void setEndCallback (std::function<void()> ended);

protected:
    /** This thread. The step itself; it checks shouldAbort() or threadShouldExit() at
        its natural pauses, and catches what its own work throws.
    */
    virtual void work() = 0;

    /** Message thread. Tells the thread to exit and waits for it to end, without a
        limit. Called first in each derived destructor, before the members that the
        thread uses are destroyed.
    */
    void stop();

    /** The context for shouldAbort (void*): this base's address, whatever the derived
        class's other bases.
    */
    void* abortContext() noexcept { return this; }

private:
    const std::unique_ptr<ModalStateTracker> pageState;

    // Set by the message thread before the thread starts; called by this thread.
    std::function<void()> endCallback;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (PageWorker)
};
