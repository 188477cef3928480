#include "framework/windows/OpenWindows.h"

#include "framework/dispatch/Dispatch.h"
#include "framework/windows/Window.h"

#include <algorithm>

namespace Ovelund {

namespace {
std::vector<Ref<Window>>& Windows() {
    static std::vector<Ref<Window>> windows;
    return windows;
}
} // namespace

void RegisterOpenWindow(const Ref<Window>& window) {
    auto& windows = Windows();
    if (std::find(windows.begin(), windows.end(), window) == windows.end())
        windows.push_back(window);
}

void UnregisterOpenWindow(const Window& window) {
    auto& windows = Windows();
    auto it = std::find_if(windows.begin(), windows.end(),
                           [&](const Ref<Window>& w) { return w.get() == &window; });
    if (it == windows.end())
        return;
    Ref<Window> keep = *it; // the last reference may go only after the list is consistent again
    windows.erase(it);
}

const std::vector<Ref<Window>>& OpenWindows() {
    return Windows();
}

void CloseOpenWindows() {
    // A closing window's handler may open another; each pass closes what is open, and a handler that keeps
    // opening windows cannot hold the application up for long.
    for (int pass = 0; pass < 8 && !Windows().empty(); ++pass) {
        const std::vector<Ref<Window>> windows(Windows().rbegin(), Windows().rend());
        for (const Ref<Window>& window : windows)
            if (window->IsOpen())
                Dispatch([&window] { window->UnifiedClose(true); });
    }
}

void ForgetOpenWindows() {
    std::vector<Ref<Window>> windows = std::move(Windows());
    Windows().clear();
    windows.clear(); // after the list is empty, so that a window's destruction finds it consistent
}

} // namespace Ovelund
