#include "framework/controls/Control.h"

#include "framework/runtime/UIThread.h"

namespace Ovelund {

const ClassRecord& Control::Lookup() {
    static const ClassRecord record =
        ClassBuilder<Control>("Control", &Object::Lookup())
            .Event<>(EventClose, "Close")
            .NeverRaised(EventCreatePane, "CreatePane")
            .Event<>(EventOpen, "Open")
            .Property("Name", &Control::SetName, &Control::Name)
            .Property("Index", &PaneChild::SetIndex, &PaneChild::Index)
            .Property("TabPanelIndex", &Control::SetTabPanelIndex, &Control::TabPanelIndex)
            .NoFactory()
            .Build();
    return record;
}

Control::Control() = default;
Control::~Control() = default;

void Control::Constructor() {
    CheckUIThread();
    if (constructed_)
        return;
    constructed_ = true;
    CreateNative();
}

void Control::SetName(const String& name) {
    CheckUIThread();
    name_ = name;
    NameChanged();
}

void Control::SetTabPanelIndex(std::int32_t value) {
    CheckUIThread();
    tabPanelIndex_ = value;
}

void Control::RaiseOpen() {
    if (!closed_)
        RaiseEvent(EventOpen, shared_from_this());
}

void Control::Close() {
    CheckUIThread();
    if (closed_)
        return;
    closed_ = true;
    RaiseEvent(EventClose, shared_from_this());
    DestroyNative();
}

} // namespace Ovelund
