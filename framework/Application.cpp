#include "framework/Application.h"

#include "framework/MenuBar.h"
#include "framework/Runtime.h"

namespace Ovelund {

namespace {
Ref<Application>& AppObject() {
    static Ref<Application> application;
    return application;
}

ApplicationIdentity& Identity() {
    static ApplicationIdentity identity;
    return identity;
}

ApplicationVersion& Version() {
    return Identity().version;
}
} // namespace

const ClassRecord& Application::Lookup() {
    static const ClassRecord record = ClassBuilder<Application>("Application", &Object::Lookup()).Build();
    return record;
}

Application::Application() = default;
Application::~Application() = default;

void Application::SetMenuBar(const Ref<Ovelund::MenuBar>& menuBar) {
    CheckUIThread();
    menuBar_ = menuBar;
}

void Application::AddMenuHandler(const String& itemName, const Ref<MenuHandlerDelegate>& handler) {
    CheckUIThread();
    menuHandlers_[itemName] = handler;
}

bool Application::HandleMenuCommand(const String& itemName) {
    auto it = menuHandlers_.find(itemName);
    if (it == menuHandlers_.end())
        return false;
    Ref<MenuHandlerDelegate> handler = it->second;
    handler->Invoke();
    return true;
}

std::int32_t Application::MajorVersion() const {
    return Version().major;
}
std::int32_t Application::MinorVersion() const {
    return Version().minor;
}
std::int32_t Application::BugVersion() const {
    return Version().bug;
}
String Application::ShortVersion() const {
    return Version().shortVersion;
}
String Application::LongVersion() const {
    return Version().longVersion;
}

void RuntimeRegisterAppObject(const Ref<Application>& application) {
    AppObject() = application;
}
Ref<Application> GetAppObject() {
    return AppObject();
}

const ApplicationVersion& RunningVersion() {
    return Version();
}
void SetRunningVersion(const ApplicationVersion& version) {
    Version() = version;
}

void RuntimeSetApplicationIdentity(const ApplicationIdentity& identity) {
    Identity() = identity;
}
const ApplicationIdentity& RuntimeApplicationIdentity() {
    return Identity();
}

namespace detail {
void ReleaseAppObject() {
    Ref<Application> old = std::move(AppObject());
    AppObject() = nullptr;
    if (old) {
        old->RemoveMenuHandlers();
        old->SetMenuBar(nullptr);
    }
}
} // namespace detail

} // namespace Ovelund
