#pragma once
// The scheduling the scan's workers run under: Linux's idle class, in which a thread runs only on a processor
// that nothing else wants, so the user-interface thread and every other program go first.

namespace search {

// How the calling thread is scheduled after LowerToIdlePriority.
enum class WorkerPriority { Idle, Nice19, Unchanged };

// Moves the calling thread (alone, not its process) to the idle class; where that is refused, to the
// weakest nice level, 19.
WorkerPriority LowerToIdlePriority();

// How the calling thread is scheduled now: Idle, Nice19 (or weaker), or Unchanged for anything else.
WorkerPriority CurrentPriority();

} // namespace search
