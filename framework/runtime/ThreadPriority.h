#pragma once
// The scheduling of background workers: Linux's idle class, in which a thread runs only on a processor that
// nothing else wants, so the user-interface thread and every other program go first.

#include "framework/core/ForTests.h"

#include <thread>

namespace Ovelund {

// How the calling thread is scheduled after LowerThreadToIdlePriority.
enum class ThreadPriority { Idle, Nice19, Unchanged };

// Moves the calling thread (alone, not its process) to the idle class; where that is refused, to the
// weakest nice level, 19.
ThreadPriority LowerThreadToIdlePriority();

// How the calling thread is scheduled now: Idle, Nice19 (or weaker), or Unchanged for anything else.
OVELUND_FOR_TESTS ThreadPriority CurrentThreadPriority();

// Moves `thread`, one of this process's, back to the normal class; false where the system refuses, as it does
// for a process without the privilege or the RLIMIT_NICE allowance to leave the idle class.
bool ReturnToNormalClass(std::thread& thread);

} // namespace Ovelund
