#pragma once
// The one mapping of the controls' horizontal alignments to the toolkit's. Each control numbers its
// alignments its own way, as its designs store them (ColumnAlignment for a list's columns, Label::Align,
// TextField::Align), under the same names: Center is centred and Right right-aligned, and a list column's
// Decimal is drawn right-aligned too, so that whole numbers line up their last digits. Every other value,
// Default and Left and any number that no name has, is left-aligned.

#include <Qt>

#include <type_traits>

namespace Ovelund {

template <class Alignment> Qt::Alignment HorizontalAlignment(Alignment alignment) {
    static_assert(std::is_enum_v<Alignment>, "a control's alignment enumeration");
    if (alignment == Alignment::Center)
        return Qt::AlignHCenter;
    if (alignment == Alignment::Right)
        return Qt::AlignRight;
    if constexpr (requires { Alignment::Decimal; }) {
        if (alignment == Alignment::Decimal)
            return Qt::AlignRight;
    }
    return Qt::AlignLeft;
}

} // namespace Ovelund
