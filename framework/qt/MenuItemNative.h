#pragma once
// The toolkit side of a menu entry: one action, shared by every menu bar that shows the entry.

#include <QAction>

#include <memory>

namespace Ovelund {

class MenuItem;

struct MenuItemNative {
    std::unique_ptr<QAction> action;
};

// The entry's action, made on first use.
QAction* NativeAction(MenuItem& item);

} // namespace Ovelund
