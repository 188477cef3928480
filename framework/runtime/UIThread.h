#pragma once
// Windows, controls, menus, timers and sockets belong to the user-interface thread: every method of theirs
// that changes them begins with this test.

namespace Ovelund {

// Whether the caller runs on the user-interface thread: the toolkit's application thread, or any thread
// before the toolkit's application object exists.
bool OnUIThread();

// Raises ThreadAccessingUIException unless called on the user-interface thread.
void CheckUIThread();

} // namespace Ovelund
