#pragma once
// The framework's start-up and shutdown, in the order the program calls them: RuntimeInit, the class records
// (RegisterFrameworkClasses, then the program's), RunFrameworkInitialization, RuntimeRun, then
// ReleaseFrameworkGlobals and RuntimeExit.
//
// Choices of this framework:
// - RunFrameworkInitialization calls the late start-up delegate once, before it returns.
// - RuntimeExit returns the code given to Quit, or 1 when an unhandled exception was reported.

#include "framework/core/Delegate.h"

namespace Ovelund {

void RuntimeInit();
int RuntimeExit();

// Registers the framework's own classes, in a fixed order, before any of the program's.
void RegisterFrameworkClasses();

// Early start-up's look-up of the framework's plug-in entry points. This framework has no plug-ins (its HTTP
// client asks for no credentials), so there is nothing to look up; the call stays where start-up makes it.
inline void InitPluginEntrypoints() {}

using LateStartupDelegate = Delegate<void>;
void RunFrameworkInitialization(const Ref<LateStartupDelegate>& lateStartup);

// Runs the event loop until the application quits, then the closing step of every window still open (see
// CloseOpenWindows in framework/windows/OpenWindows.h).
void RuntimeRun();

// Releases the framework's globals: its window lists and single instances (windows still open run their
// closing step first, as when the application quits), then the application object. Shutdown calls it before
// the program's own.
void ReleaseFrameworkGlobals();

} // namespace Ovelund
