#pragma once
// The toolkit's application object and event loop, quitting, and how often the background-task hook lets
// pending events through. Start-up and shutdown (framework/startup/Startup.h) drive it.

#include "framework/core/ForTests.h"

#include <chrono>

namespace Ovelund {

// Makes the toolkit's application object if there is none yet and clears a previous run's quit request.
void RuntimeStartToolkit();
// Runs the event loop until the application quits; returns at once when a quit was asked for already.
void RuntimeRunEventLoop();
// Lets the deletions that windows handed to the toolkit happen, then ends the application object that
// RuntimeStartToolkit made.
void RuntimeStopToolkit();

// Ends the event loop (and any modal loop) with `exitCode`. The first code asked for is kept.
void Quit(int exitCode = 0);
bool RuntimeQuitRequested();
int RuntimeQuitExitCode();

// How long the background-task hook waits between two deliveries of pending events: 4 ms unless set. Tests
// set 0, so that the first clock check inside a step delivers the events they posted, however short the step.
// A negative interval restores the default.
OVELUND_FOR_TESTS void RuntimeSetEventDeliveryInterval(std::chrono::milliseconds interval);

} // namespace Ovelund
