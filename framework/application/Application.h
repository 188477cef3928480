#pragma once
// The application object: one registered instance, menu handlers registered by menu-item name, the
// application's menu bar and the running application's version (framework/runtime/ApplicationIdentity.h).

#include "framework/core/ClassRecord.h"
#include "framework/core/Delegate.h"
#include "framework/core/Object.h"
#include "framework/core/String.h"

#include <cstdint>
#include <map>

namespace Ovelund {

class MenuBar;
class MenuItem;

using MenuHandlerDelegate = Delegate<bool>;

class Application : public Object {
    OVELUND_OBJECT
public:
    Application();
    ~Application() override;

    void Constructor() {}

    Ref<Ovelund::MenuBar> MenuBar() const { return menuBar_; }
    void SetMenuBar(const Ref<Ovelund::MenuBar>& menuBar);

    void AddMenuHandler(const String& itemName, const Ref<MenuHandlerDelegate>& handler);
    bool HasMenuHandler(const String& itemName) const { return menuHandlers_.count(itemName) != 0; }
    // Calls the handler registered for the item's name; false when there is none.
    bool HandleMenuCommand(const String& itemName);
    // Drops the registrations; the handlers' delegates hold the application object itself.
    void RemoveMenuHandlers() { menuHandlers_.clear(); }

    std::int32_t MajorVersion() const;
    std::int32_t MinorVersion() const;
    std::int32_t BugVersion() const;
    String ShortVersion() const;
    String LongVersion() const;

private:
    Ref<Ovelund::MenuBar> menuBar_;
    std::map<String, Ref<MenuHandlerDelegate>> menuHandlers_;
};

void RuntimeRegisterAppObject(const Ref<Application>& application);
Ref<Application> GetAppObject();
// Drops the application object and its menu handlers, as the framework's globals are released.
void RuntimeReleaseAppObject();

} // namespace Ovelund
