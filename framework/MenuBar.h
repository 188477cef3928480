#pragma once

#include "framework/MenuItem.h"

namespace Ovelund {

class MenuBar : public MenuItem {
    OVELUND_OBJECT
public:
    using MenuItem::Lookup;
};

} // namespace Ovelund
