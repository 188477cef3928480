#include "framework/Registry.h"

#include "framework/Window.h"

#include <algorithm>

namespace Ovelund {

namespace detail {
void ReleaseAppObject();
}

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

void ReleaseFrameworkGlobals() {
    // Windows still open when the loop ended are released without running their closing step.
    std::vector<Ref<Window>> windows = std::move(Windows());
    Windows().clear();
    windows.clear();
    detail::ReleaseAppObject();
}

} // namespace Ovelund
