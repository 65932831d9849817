#pragma once

// The older name of the bounded wait, for the tests still written against it.
#include "tests/support/MessageLoop.h"

#include <gtest/gtest.h>

namespace PageTestSupport
{
    using MessageLoop::dispatchUntil;
}
