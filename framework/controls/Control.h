#pragma once
// The base of every visual control: a name, its window, and an event table whose first three events are
// Close, CreatePane and Open.

#include "framework/controls/PaneChild.h"
#include "framework/core/ClassRecord.h"
#include "framework/core/EventSource.h"

namespace Ovelund {

class Control : public Object, public EventSource, public PaneChild {
    OVELUND_OBJECT
public:
    enum Event : int { EventClose = 0, EventCreatePane = 1, EventOpen = 2 };

    Control();
    ~Control() override;

    // The framework's default control construction: creates the control's platform part in its window.
    void Constructor() override;

    const String& Name() const { return name_; }
    void SetName(const String& name);
    std::int32_t TabPanelIndex() const { return tabPanelIndex_; }
    void SetTabPanelIndex(std::int32_t value);

    // Raised by the framework once the window has created and bound all of its controls.
    void RaiseOpen();
    // Closes the control: raises its Close event and removes its platform part.
    void Close();

protected:
    virtual void CreateNative() {}
    virtual void NameChanged() {}
    virtual void DestroyNative() {}

private:
    String name_;
    std::int32_t tabPanelIndex_ = 0;
    bool constructed_ = false;
    bool closed_ = false;
};

} // namespace Ovelund
