#pragma once
// The framework's start-up and shutdown, in the order the program calls them: RuntimeInit, the class records
// (RegisterFrameworkClasses, then the program's), early start-up's RuntimeInitExternalClasses and
// InitPluginEntrypoints, RunFrameworkInitialization, RuntimeRun, then ReleaseFrameworkGlobals and
// RuntimeExit.
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

// Early start-up's two framework steps, in this order. Each is a call with nothing to do here, kept where
// start-up makes it:
// - the initialisation of the framework's external classes, those that come from outside its own sources
//   (a plug-in's): it has none, every class it knows is registered from its class record;
// - the look-up of its plug-in entry points: it has no plug-ins (its HTTP client asks for no credentials).
inline void RuntimeInitExternalClasses() {}
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
