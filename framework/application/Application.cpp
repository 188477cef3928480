#include "framework/application/Application.h"

#include "framework/application/MenuBar.h"
#include "framework/runtime/ApplicationIdentity.h"
#include "framework/runtime/UIThread.h"

namespace Ovelund {

namespace {
Ref<Application>& AppObject() {
    static Ref<Application> application;
    return application;
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
    return RunningVersion().major;
}
std::int32_t Application::MinorVersion() const {
    return RunningVersion().minor;
}
std::int32_t Application::BugVersion() const {
    return RunningVersion().bug;
}
String Application::ShortVersion() const {
    return RunningVersion().shortVersion;
}
String Application::LongVersion() const {
    return RunningVersion().longVersion;
}

void RuntimeRegisterAppObject(const Ref<Application>& application) {
    AppObject() = application;
}
Ref<Application> GetAppObject() {
    return AppObject();
}

void RuntimeReleaseAppObject() {
    Ref<Application> old = std::move(AppObject());
    AppObject() = nullptr;
    if (old) {
        old->RemoveMenuHandlers();
        old->SetMenuBar(nullptr);
    }
}

} // namespace Ovelund
