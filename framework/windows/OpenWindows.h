#pragma once
// The framework's list of open windows, in the order they opened; a window class's single instance is the
// open window of that class (GetImplicitWindow, Window.h). Framework-internal.

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
// Empties the list, dropping its references (at shutdown, after CloseOpenWindows).
void ForgetOpenWindows();

} // namespace Ovelund
