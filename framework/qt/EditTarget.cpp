#include "framework/qt/EditTarget.h"

#include <QApplication>
#include <QWidget>

namespace Ovelund {

EditTarget* FocusedEditTarget() {
    return dynamic_cast<EditTarget*>(QApplication::focusWidget());
}

} // namespace Ovelund
