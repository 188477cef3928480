#pragma once

#include "framework/core/String.h"

#include <QFont>

namespace Ovelund {

// The toolkit font for a control's font properties (see RectControl.h).
QFont ControlFont(const String& family, float size, bool bold, bool italic, bool underline);

} // namespace Ovelund
