#pragma once
// Runtime start-up and shutdown, the event loop, quitting, and the boundary at which the toolkit calls into
// the framework.
//
// Choices of this framework:
// - RunFrameworkInitialization calls the late start-up delegate once, before it returns.
// - The exception helper installed by RuntimeSetExceptionHelper runs every event dispatch; a RuntimeException
//   it hands back goes to UnhandledException, after which the application quits with status 1.
// - UnhandledException writes the exception's class to stderr, tells the user in a message box, and returns.
//   Every exception is reported alike: a RuntimeException by its class name, any other by its C++ type
//   ("std::bad_alloc", "int"). QuitUnwind, the quit's own unwinding, is not reported.
// - RuntimeExit returns the code given to Quit, or 1 when an unhandled exception was reported.

#include "framework/core/BackgroundTask.h"
#include "framework/core/Delegate.h"
#include "framework/core/Exceptions.h"
#include "framework/core/UIThread.h"

#include <chrono>
#include <exception>
#include <functional>
#include <memory>

namespace Ovelund {

void RuntimeInit();
int RuntimeExit();

// Releases the framework's globals: its window lists and single instances (windows still open run their
// closing step first, as when the application quits), then the application object. Shutdown calls it before
// the program's own.
void ReleaseFrameworkGlobals();

// Registers the framework's own classes, in a fixed order, before any of the program's.
void RegisterFrameworkClasses();

// Early start-up's look-up of the framework's plug-in entry points. This framework has no plug-ins (its HTTP
// client asks for no credentials), so there is nothing to look up; the call stays where start-up makes it.
inline void InitPluginEntrypoints() {}

using LateStartupDelegate = Delegate<void>;
void RunFrameworkInitialization(const Ref<LateStartupDelegate>& lateStartup);

// Runs the event loop until the application quits, then the closing step of every window still open (see
// CloseOpenWindows in Registry.h).
void RuntimeRun();
// Ends the event loop (and any modal loop) with `exitCode`.
void Quit(int exitCode = 0);
bool RuntimeQuitRequested();

using ExceptionHelperFunction = void (*)(void*);
using ExceptionHelperDelegate = Delegate<std::shared_ptr<RuntimeException>, ExceptionHelperFunction, void*>;
// Calls function(argument) and returns the RuntimeException that escaped, or nil; other exceptions propagate.
std::shared_ptr<RuntimeException> CallFunctionWithExceptionHandling(ExceptionHelperFunction function,
                                                                    void* argument);
void RuntimeSetExceptionHelper(const Ref<ExceptionHelperDelegate>& helper);

// The report of an exception that escaped the program's code.
void UnhandledException(const RuntimeException& exception);
void UnhandledException(const std::exception_ptr& exception);
bool RuntimeReportedUnhandledException();

// Runs framework work that the toolkit started (an event, a timer tick, a menu choice). No exception leaves
// it: a RuntimeException is reported and ends the application; QuitUnwind is the quit's own unwinding.
void Dispatch(const std::function<void()>& work);

// How long the background-task hook waits between two deliveries of pending events: 4 ms unless set. Tests
// set 0, so that the first clock check inside a step delivers the events they posted, however short the step.
// A negative interval restores the default.
void RuntimeSetEventDeliveryInterval(std::chrono::milliseconds interval);

} // namespace Ovelund
