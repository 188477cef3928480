#pragma once
// What every fuzz target of the socket classes shares: the toolkit's application object and passes of its
// event loop.

#include <functional>

namespace fuzz_support {

// Makes the application object, once, with a dialog presenter that ends the run: a dialog would mean that
// an exception escaped a handler, which no input may cause.
void StartToolkit(int* argc, char*** argv);

// One pass of the event loop: what is ready now is delivered, nothing is waited for.
void PumpOnce();
// Passes of the event loop until `done` holds; false when it does not within a limit far above any normal
// wait, so that only a broken case reaches it.
bool PumpUntil(const std::function<bool()>& done);
// Ends an input: posted work still pending runs, and what was handed to deleteLater is deleted, so that
// nothing of one input reaches the next.
void FinishInput();

} // namespace fuzz_support
