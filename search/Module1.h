#pragma once
// The search state shared by the main window's handlers and the two search steps. Between steps a search
// holds nothing but these four globals and the rows of the list.

#include "framework/core/String.h"

namespace Module1 {

// Where the next step resumes: the start as typed, then the next candidate after the prime listed last.
extern Ovelund::String StartAt;
// Mode A: the requested count of primes; Mode B: the upper bound.
extern Ovelund::String StopAt;
// "Stop" was pressed: the next step ends the search.
extern bool StopFlag;
// A step is running: a timer tick that finds it set does nothing.
extern bool Busy;

// Shutdown releases StartAt, then StopAt.
void Release();

} // namespace Module1
