#pragma once

#include "framework/core/String.h"

namespace Ovelund {

// Shows `text` in a modal message box with the platform's dismiss button; returns once it is dismissed.
void MsgBox(const String& text);

} // namespace Ovelund
