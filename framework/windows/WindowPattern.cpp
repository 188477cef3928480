#include "framework/windows/WindowPattern.h"

#include "framework/controls/PaneChild.h"

namespace Ovelund {

Ref<Object> NewControl(Window& window, const ClassRecord& record, const String& name) {
    Ref<Object> control = window.New(record);
    if (auto* child = dynamic_cast<PaneChild*>(control.get()))
        child->Constructor();
    window.AddControl(name, control);
    return control;
}

} // namespace Ovelund
