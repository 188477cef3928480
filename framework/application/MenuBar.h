#pragma once
// The root of a menu tree: its children are the menus a window shows in its bar.

#include "framework/application/MenuItem.h"

namespace Ovelund {

class MenuBar : public MenuItem {
    OVELUND_OBJECT
};

} // namespace Ovelund
