#pragma once

#include <chrono>
#include <functional>
#include <thread>

namespace satorix::test {

// Polls pred, calling idle (or sleeping) between polls, until it holds or timeoutMs have passed.
// For ASSERT_TRUE: unlike QTRY_*, a time-out then fails the gtest.
inline bool waitFor(const std::function<bool()>& pred, int timeoutMs, const std::function<void()>& idle = {})
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!pred()) {
        if (std::chrono::steady_clock::now() > end) return false;
        if (idle)
            idle();
        else
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return true;
}

} // namespace satorix::test
