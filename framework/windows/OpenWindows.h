#pragma once
// The list of open windows, newest last. A window enters it when it is built and leaves it at the end of its
// closing step. Framework-internal.

#include "framework/core/Object.h"
#include "framework/core/String.h"

#include <vector>

namespace Ovelund {

class Window;

void RegisterOpenWindow(const Ref<Window>& window);
void UnregisterOpenWindow(const Window& window);
const std::vector<Ref<Window>>& OpenWindows();

// Runs the closing step of every open window, as the application quits: the newest window first, so that
// windows close front to back and the main window, opened first, closes last. Each closes completely, its
// Close handler first, before the next one begins.
void CloseOpenWindows();

// Drops the list, as the framework's globals are released.
void ReleaseOpenWindows();

} // namespace Ovelund
