#pragma once
// The report of an exception that escaped the program's code, and the exception helper through which start-up
// runs every dispatch.
//
// - The exception helper installed by RuntimeSetExceptionHelper runs every event dispatch; a RuntimeException
//   it hands back is reported, after which the application quits with status 1.
// - UnhandledException writes the exception's class to stderr, tells the user in a message box, and returns.
//   Every exception is reported alike: a RuntimeException by its class name, any other by its C++ type
//   ("std::bad_alloc", "int"). QuitUnwind, the quit's own unwinding, is not reported.

#include "framework/core/Delegate.h"
#include "framework/core/Exceptions.h"

#include <exception>
#include <memory>

namespace Ovelund {

using ExceptionHelperFunction = void (*)(void*);
using ExceptionHelperDelegate = Delegate<std::shared_ptr<RuntimeException>, ExceptionHelperFunction, void*>;
// Calls function(argument) and returns the RuntimeException that escaped, or nil; other exceptions propagate.
std::shared_ptr<RuntimeException> CallFunctionWithExceptionHandling(ExceptionHelperFunction function,
                                                                    void* argument);
void RuntimeSetExceptionHelper(const Ref<ExceptionHelperDelegate>& helper);
// The helper installed, or nil.
Ref<ExceptionHelperDelegate> RuntimeExceptionHelper();

void UnhandledException(const RuntimeException& exception);
void UnhandledException(const std::exception_ptr& exception);
bool RuntimeReportedUnhandledException();
// Forgets a previous run's report and helper, as start-up begins.
void RuntimeResetExceptionReport();

} // namespace Ovelund
