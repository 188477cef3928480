#pragma once
// Windows, controls, menus, timers and sockets belong to the user-interface thread: every setter of theirs,
// and every other method that changes one, begins with this test.

namespace Ovelund {

// Raises ThreadAccessingUIException unless called on the user-interface thread.
void CheckUIThread();

} // namespace Ovelund
