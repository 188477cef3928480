#pragma once
// The application object: one registered instance, menu handlers registered by menu-item name, the
// application's menu bar and the running application's version.

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

// The running application's version, as the program hands it over at start-up (tests may replace it).
struct ApplicationVersion {
    std::int32_t major = 0;
    std::int32_t minor = 0;
    std::int32_t bug = 0;
    String shortVersion;
    String longVersion;
};
const ApplicationVersion& RunningVersion();
void SetRunningVersion(const ApplicationVersion& version);

// What the program tells the framework of itself, before RuntimeInit; the framework knows nothing of the
// program but this.
struct ApplicationIdentity {
    // The name the platform shows for the application: the title of its message boxes, for one.
    String name;
    // The name of its executable: the toolkit's first argument, and the prefix of the unhandled-exception
    // report on stderr.
    String executableName;
    ApplicationVersion version;
};
void RuntimeSetApplicationIdentity(const ApplicationIdentity& identity);
const ApplicationIdentity& RuntimeApplicationIdentity();

} // namespace Ovelund
