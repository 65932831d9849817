#pragma once

// The older names of two message loop helpers, for the tests still written against them.
#include "tests/support/MessageLoop.h"

using MessageLoop::runModalLoopWithLimit;

inline void dispatchPendingMessages()    { MessageLoop::dispatchPending(); }
