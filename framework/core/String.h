#pragma once
// Text in the framework is UTF-8 held by value. Functions that count characters (Len, Mid, InStr) count code
// points; see Text.h.

#include <string>

namespace Ovelund {
using String = std::string;
} // namespace Ovelund
