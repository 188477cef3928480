#pragma once

#include "framework/core/String.h"

#include <QFont>

namespace Ovelund {

// The toolkit font for a control's font properties (see RectControl.h). A size that is no usable pixel size
// (not above 0, not finite, above 400) gives `fallbackSize`.
QFont ControlFont(const String& family, float size, float fallbackSize, bool bold, bool italic,
                  bool underline);

} // namespace Ovelund
