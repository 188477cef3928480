#pragma once
// What lets a window hold an object as one of its controls: the window that holds it and its control-array
// index.
// Visual controls have it through Control; a window's non-visual controls (timers, sockets) mix it in.

#include "framework/controls/ControlHost.h"
#include "framework/core/DesignBlock.h"
#include "framework/core/Object.h"
#include "framework/runtime/UIThread.h"

#include <cstdint>

namespace Ovelund {

class PaneChild {
public:
    virtual ~PaneChild() = default;

    // The object's construction once it belongs to its window: the framework's default control construction
    // for visual controls, the class's own constructor for non-visual ones.
    virtual void Constructor() = 0;

    // The window that holds the object, or nil once it is gone.
    Ref<ControlHost> Host() const { return host_.lock(); }
    void SetHost(const Ref<ControlHost>& host) { host_ = host; }
    std::int32_t Index() const { return index_; }
    void SetIndex(std::int32_t index) {
        CheckUIThread();
        index_ = index;
    }

private:
    WeakRef<ControlHost> host_;
    std::int32_t index_ = design::kNoControlArray;
};

} // namespace Ovelund
