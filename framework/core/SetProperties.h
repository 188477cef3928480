#pragma once
// The mass property setter: applies a design block to a window or control.
//
// Each key is looked up among the properties of the object's class and its bases, without regard to letter
// case, and its value is read in the encoding of that property's type (DesignBlock.h). The block is read by
// position only, never beyond its end. A malformed block (a key that names no property, a key with
// characters a key cannot have, a block that ends inside an entry, a Boolean byte other than 00 or 01) is a
// programming error: the whole block is checked before any property changes, and a malformed one raises
// RuntimeException and changes nothing. Properties the block does not name keep their values.

#include "framework/core/DesignBlock.h"
#include "framework/core/Object.h"

#include <array>
#include <string_view>

namespace Ovelund {

void SetProperties(Object& object, std::string_view block);

template <std::size_t N> void SetProperties(Object& object, const std::array<char, N>& block) {
    SetProperties(object, design::View(block));
}

} // namespace Ovelund
