#pragma once
// Waits on the test's thread until a condition holds, sleeping briefly in between: the scan's workers are of
// the idle scheduling class, and a spinning test thread would keep them off a loaded machine's processors.

#include <chrono>
#include <thread>

namespace testing_support {

template <class Condition> void WaitUntil(Condition done) {
    while (!done())
        std::this_thread::sleep_for(std::chrono::microseconds(50));
}

} // namespace testing_support
