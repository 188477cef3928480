#pragma once
// What a control needs of the window that holds it: where it may stand, its sibling containers and the Tab
// order. Window implements it, so that controls know no window type.

#include "framework/core/Object.h"
#include "framework/core/String.h"

namespace Ovelund {

struct WindowNative;

class ControlHost {
public:
    // The largest content area a host has in either direction: more than any screen shows today (8K is
    // 7680 x 4320), and it keeps a window's backing store within what the toolkit handles, where a design of
    // 32000 x 32000 would ask for 4 GB.
    static constexpr int kLargestContent = 8192;
    struct ContentSize {
        int width;
        int height;
    };
    // The largest content area the host can have; controls are kept within it.
    virtual ContentSize ContentLimit() const = 0;
    // The control registered under `name`, or nil.
    virtual Ref<Object> ControlByName(const String& name) const = 0;
    // Orders the Tab key's way through the controls again.
    virtual void ApplyTabOrder() = 0;
    // The toolkit side of the host (framework/qt/WindowNative.h), whose content area holds the controls.
    virtual WindowNative& Native() const = 0;

protected:
    ~ControlHost() = default;
};

} // namespace Ovelund
