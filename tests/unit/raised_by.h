// The run-time error an action raises, for tests that expect one.
#pragma once

#include "platform/runtime.h"

#include <gtest/gtest.h>

namespace testing_support {

inline rt::ErrorCode raised_by(auto&& action)
{
    try {
        action();
    } catch (rt::RuntimeError const& error) {
        return error.code();
    }
    ADD_FAILURE() << "no run-time error was raised";
    return rt::ErrorCode::InvalidCall;
}

} // namespace testing_support
