#pragma once
// The one boundary at which the toolkit calls into the framework: an event, a timer tick, a menu choice.

#include <functional>

namespace Ovelund {

// Runs framework work that the toolkit started. No exception leaves it: a RuntimeException is reported
// (framework/dispatch/ExceptionReport.h) and ends the application with status 1; QuitUnwind is the quit's own
// unwinding.
void Dispatch(const std::function<void()>& work);

} // namespace Ovelund
