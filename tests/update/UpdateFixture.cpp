#include "UpdateFixture.h"

#include "framework/startup/Startup.h"

#include <QApplication>
#include <QKeyEvent>

#include <memory>
#include <string>

using namespace Ovelund;

namespace update_testing {

String Document(const String& version, const String& description, const String& free) {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Update>\n<CurrentVersion>" + version +
           "</CurrentVersion>\n<Description>" + description + "</Description>\n<Free>" + free +
           "</Free>\n</Update>\n";
}

std::string UpdateDocumentUrl(std::uint16_t port) {
    return "http://www.example.com:" + std::to_string(port) + "/Updates/tarnwick.xml";
}

void UpdateFixture::SetUp() {
    RuntimeInit();
    savedVersion_ = RunningVersion();
    SetRunningVersion({3, 0, 0, "3.0.0", "3.0.0"});
    RuntimeRegisterAppObject(std::make_shared<App>());
    SetHostAddressMap({{"www.example.com", "127.0.0.1"}});
    beepsAtSetUp_ = BeepCount();
}

void UpdateFixture::TearDown() {
    if (auto window = GetImplicitWindow("updateWindow.updateWindow"))
        window->Close();
    if (auto window = GetImplicitWindow("selfTest.selfTest"))
        window->Close();
    SetHostAddressMap({});
    SetRunningVersion(savedVersion_);
    ReleaseFrameworkGlobals();
}

void UpdateFixture::Receive(const Ref<updateWindow>& window, const String& content, std::int32_t status) {
    window->hp_PageReceived(window->hp(), kDocumentURL, status, std::make_shared<InternetHeaders>(), content);
}

Ref<updateWindow> UpdateFixture::OpenUpdateWindow() {
    return std::static_pointer_cast<updateWindow>(GetImplicitWindow("updateWindow.updateWindow"));
}

Ref<selfTest> UpdateFixture::OpenSelfTest() {
    return std::static_pointer_cast<selfTest>(GetImplicitWindow("selfTest.selfTest"));
}

void UpdateFixture::SendKey(QWidget* to, int key) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(to, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier);
    QApplication::sendEvent(to, &release);
}

} // namespace update_testing
