#pragma once
// The steps every window class repeats while it creates its controls: a new object of the control's class
// belonging to the window, its construction and its registration under its name; and the binding of a control
// event to a handler method of the window through a delegate with a weak target.

#include "framework/controls/RectControl.h"
#include "framework/core/EventSource.h"
#include "framework/core/SetProperties.h"
#include "framework/windows/Window.h"

#include <array>
#include <cstddef>
#include <type_traits>

namespace Ovelund {

// The single-instance accessor of window class W: the open window kept under the class's full name, or a new
// one, created from the class record and constructed (which builds it and, as its design says, shows it).
template <class W> Ref<W> ImplicitInstance() {
    Ref<Object> window = GetImplicitWindow(W::Lookup().FullName());
    if (!window) {
        auto created = std::static_pointer_cast<Window>(RuntimeNewObject(W::Lookup()));
        created->Constructor();
        window = created;
    }
    return RuntimeCheckCast<W>(window);
}

// New, construct and register: the control is found by name from then on.
Ref<Object> NewControl(Window& window, const ClassRecord& record, const String& name);

// How a window's creation of a control sets its font in code before the design applies: not at all, the text
// unit (0) alone, or the unit and a text size in the order the window takes them. Designs hold neither.
enum class FontInCode { None, Unit, SizeThenUnit, UnitThenSize };

// The rest of a control's creation once NewControl has registered it: its font in code, then its design
// block. The control is fetched afresh by name and cast to T.
template <class T, std::size_t N>
void DesignControl(Window& window, const String& name, const std::array<char, N>& design,
                   FontInCode font = FontInCode::None, float textSize = 0.0f) {
    Ref<T> control = RuntimeCheckCast<T>(window.ControlByName(name));
    CheckNil(control);
    if constexpr (std::is_base_of_v<RectControl, T>) {
        if (font == FontInCode::SizeThenUnit)
            control->SetTextSize(textSize);
        if (font != FontInCode::None)
            control->SetTextUnit(0);
        if (font == FontInCode::UnitThenSize)
            control->SetTextSize(textSize);
    }
    SetProperties(*control, design);
}

// Binds event `number` of `control` to `handler` of `window`.
template <class W, class Handler>
void BindEvent(W& window, const Ref<Object>& control, int number, Handler handler, const char* signature) {
    auto target = std::static_pointer_cast<W>(window.shared_from_this());
    RuntimeAddEventHandler(CheckNil(control), number,
                           RuntimeCreateDelegate(handler, target, signature, true));
}

} // namespace Ovelund
