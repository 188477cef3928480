#pragma once
// Waiting in tests, of two kinds that stay apart. RunUntil, RunFor and Settle run the toolkit's event loop on
// the test's thread, for what comes by events: sockets, timers, queued calls. WaitUntil only sleeps, for work
// on other threads: the scan's workers are of the idle scheduling class, and a test thread that kept a
// processor busy would keep them off a loaded machine's processors.

#include <chrono>
#include <functional>
#include <thread>

namespace testing_support {

// Runs the event loop until `done` holds or a safety limit passes; returns `done()`. The limit only keeps a
// broken case from hanging the run.
bool RunUntil(const std::function<bool()>& done, int limitMs = 5000);

// Runs the event loop for `ms`, a short while by default, so that an event that should not come has its
// chance to.
void RunFor(int ms = 50);

// Delivers the events queued now, then those that their delivery queued: the list views show or hide their
// scroll bars by queued calls, and the layout that follows queues its own. Waits for no time.
void Settle();

// Sleeps on the test's thread until `done` holds, looking again every 50 microseconds.
template <class Condition> void WaitUntil(Condition done) {
    while (!done())
        std::this_thread::sleep_for(std::chrono::microseconds(50));
}

} // namespace testing_support
