#pragma once
// How a list draws the cells of a column, by code. Decimal is drawn as right alignment, so that a column of
// whole numbers lines up its last digit; any other code draws as AlignDefault.

#include <cstdint>

namespace Ovelund {

enum ColumnAlignment : std::int32_t {
    AlignDefault = 0, // left
    AlignLeft = 1,
    AlignCenter = 2,
    AlignRight = 3,
    AlignDecimal = 4,
};

} // namespace Ovelund
