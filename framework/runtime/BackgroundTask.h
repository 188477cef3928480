#pragma once
// The background-task hook that long loops call on every turn. A search calls it billions of times, so the
// fast path is an inline counter; only every 4096 calls does the out-of-line part read a monotonic clock, and
// only when a few milliseconds have passed does it let the toolkit deliver pending events.
//
// When the application quits while events are delivered inside the hook, the hook throws QuitUnwind. That
// exception is no RuntimeException: program code never catches it, and the framework's dispatch boundary
// swallows it, so the interrupted handler ends at once and the event loop returns.

#include "framework/core/ForTests.h"

#include <cstdint>

namespace Ovelund {

struct QuitUnwind {};

namespace detail {
extern std::uint64_t backgroundTaskCalls;
void BackgroundTaskSlowPath();
constexpr unsigned kBackgroundTaskShift = 12;
} // namespace detail

inline void RuntimeBackgroundTask() {
    if ((++detail::backgroundTaskCalls & ((1u << detail::kBackgroundTaskShift) - 1)) == 0)
        detail::BackgroundTaskSlowPath();
}

// Accounts `calls` hook calls at once, for loops that test many divisors per instruction.
inline void RuntimeBackgroundTasks(std::uint64_t calls) {
    const std::uint64_t before = detail::backgroundTaskCalls;
    detail::backgroundTaskCalls = before + calls;
    if ((before >> detail::kBackgroundTaskShift) !=
        (detail::backgroundTaskCalls >> detail::kBackgroundTaskShift))
        detail::BackgroundTaskSlowPath();
}

// Total number of hook calls accounted since start; tests use it to check the loops' accounting.
OVELUND_FOR_TESTS inline std::uint64_t RuntimeBackgroundTaskCount() {
    return detail::backgroundTaskCalls;
}

} // namespace Ovelund
