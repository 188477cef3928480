#pragma once
// What lets a window hold an object as one of its controls: its owner window and its control-array index.
// Visual controls have it through Control; a window's non-visual controls (timers, sockets) mix it in.

#include "framework/core/DesignBlock.h"
#include "framework/core/Object.h"
#include "framework/core/UIThread.h"

#include <cstdint>

namespace Ovelund {

class Window;

class PaneChild {
public:
    virtual ~PaneChild() = default;

    // The object's construction once it belongs to its window: the framework's default control construction
    // for visual controls, the class's own constructor for non-visual ones.
    virtual void Constructor() = 0;

    Ref<Ovelund::Window> Window() const { return window_.lock(); }
    void SetWindow(const Ref<Ovelund::Window>& window) { window_ = window; }
    std::int32_t Index() const { return index_; }
    void SetIndex(std::int32_t index) {
        CheckUIThread();
        index_ = index;
    }

private:
    WeakRef<Ovelund::Window> window_;
    std::int32_t index_ = design::kNoControlArray;
};

} // namespace Ovelund
