#pragma once
// How a list draws the cells of a column, by the code its designs and the program give (Listbox.h). Decimal
// is drawn as right alignment, so that a column of whole numbers lines up its last digit; any other code
// draws as Default.

#include <cstdint>

namespace Ovelund {

enum class ColumnAlignment : std::int32_t {
    Default = 0, // left
    Left = 1,
    Center = 2,
    Right = 3,
    Decimal = 4,
};

} // namespace Ovelund
