#include "framework/WindowPattern.h"

#include "framework/controls/PaneChild.h"

namespace Ovelund {

Ref<Object> NewControl(Window& window, const ClassRecord& record, const String& name) {
    Ref<Object> control = window.New(record);
    if (auto* child = dynamic_cast<PaneChild*>(control.get()))
        child->Constructor();
    window.AddControl(name, control);
    return control;
}

void RuntimeAddEventHandler(Object& source, int number, Ref<DelegateBase> delegate) {
    auto* events = dynamic_cast<EventSource*>(&source);
    if (!events)
        throw RuntimeException(source.classRecord().FullName() + " raises no events");
    events->AddEventHandler(number, std::move(delegate));
}

} // namespace Ovelund
