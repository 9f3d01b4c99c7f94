// The run-time error an action raises, for tests that expect one or none.
#pragma once

#include "platform/runtime.h"

#include <gtest/gtest.h>

#include <optional>

namespace testing_support {

// The error an action raises, or nothing.
inline std::optional<rt::ErrorCode> error_of(auto&& action)
{
    try {
        action();
    } catch (rt::RuntimeError const& error) {
        return error.code();
    }
    return std::nullopt;
}

// The error an action raises; raising none fails the test.
inline rt::ErrorCode raised_by(auto&& action)
{
    auto const code = error_of(action);
    if (!code)
        ADD_FAILURE() << "no run-time error was raised";
    return code.value_or(rt::ErrorCode::InvalidCall);
}

} // namespace testing_support
