#pragma once
// The toolkit side of a visual control: its widget, parented to the window's content area or to the widget
// of the container that its InitialParent names.

#include <QPointer>
#include <QWidget>

namespace Ovelund {

struct ControlNative {
    QPointer<QWidget> widget;
    QPointer<QWidget> parent;
    // Where the parent's origin stands in the window's content coordinates.
    QPoint parentOrigin;
    // The focus behaviour the widget has by its kind, which TabStop True restores.
    Qt::FocusPolicy naturalFocus = Qt::NoFocus;
};

template <class W> W* NativeWidget(const ControlNative& native) {
    return qobject_cast<W*>(native.widget.data());
}

} // namespace Ovelund
