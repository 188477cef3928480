#pragma once
// The update check on the offscreen platform: the running version 3.0.0, a registered application object, a
// recording dialog presenter and a recorder of opened addresses. The maker's host resolves to loopback, so
// the request each update window starts as it opens never leaves the machine.

#include "app/App.h"
#include "framework/application/Application.h"
#include "framework/net/HostResolver.h"
#include "framework/net/InternetHeaders.h"
#include "framework/qt/ControlNative.h"
#include "framework/qt/WindowNative.h"
#include "framework/runtime/ApplicationIdentity.h"
#include "framework/runtime/Platform.h"
#include "support/ClosedLoopbackPort.h"
#include "support/LoopbackServer.h"
#include "support/RecordingPresenter.h"
#include "support/UrlRecorder.h"
#include "update/selfTest.h"
#include "update/updateWindow.h"

#include <QByteArray>
#include <QWidget>

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace update_testing {

inline const Ovelund::String kDocumentURL = "http://www.example.com/Updates/tarnwick.xml";

// The update document's address at a loopback port, under the maker's host name.
std::string UpdateDocumentUrl(std::uint16_t port);

// The loopback server in the place of the maker's host.
class UpdateServer : public testing_support::LoopbackServer {
public:
    // The update document's address on this server.
    std::string url() const { return UpdateDocumentUrl(port()); }
};

// An update document as the maker's server writes it.
Ovelund::String Document(const Ovelund::String& version, const Ovelund::String& description,
                         const Ovelund::String& free);

// The bytes of a text, as a server sends them.
inline QByteArray Bytes(const Ovelund::String& text) {
    return QByteArray(text.data(), static_cast<qsizetype>(text.size()));
}

class UpdateFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // A page as the client hands it to the window's PageReceived handler.
    static void Receive(const Ovelund::Ref<updateWindow>& window, const Ovelund::String& content,
                        std::int32_t status = 200);
    // The window's open instances, nil when closed.
    static Ovelund::Ref<updateWindow> OpenUpdateWindow();
    static Ovelund::Ref<selfTest> OpenSelfTest();

    // The widget of a visual control of `window`.
    template <class W> static W* Widget(const Ovelund::Window& window, const char* name) {
        auto control = std::dynamic_pointer_cast<Ovelund::RectControl>(window.ControlByName(name));
        return control ? Ovelund::NativeWidget<W>(control->Native()) : nullptr;
    }
    static void SendKey(QWidget* to, int key);

    std::uint64_t BeepsSinceSetUp() const { return Ovelund::BeepCount() - beepsAtSetUp_; }
    // The update document's address at a loopback port that refuses every connection while the test runs.
    std::string RefusingUrl() const { return UpdateDocumentUrl(closedPort_.port()); }

    testing_support::ScopedRecordingPresenter dialogs;
    testing_support::UrlRecorder urls;

private:
    testing_support::ClosedLoopbackPort closedPort_;
    Ovelund::ApplicationVersion savedVersion_;
    std::uint64_t beepsAtSetUp_ = 0;
};

} // namespace update_testing
