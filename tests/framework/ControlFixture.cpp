#include "ControlFixture.h"

#include "framework/qt/WindowNative.h"
#include "framework/startup/Startup.h"

#include <QApplication>
#include <QKeyEvent>

using namespace Ovelund;
namespace d = Ovelund::design;

namespace testing_support {

String Word(std::uint32_t value) {
    return {static_cast<char>(value >> 24), static_cast<char>(value >> 16), static_cast<char>(value >> 8),
            static_cast<char>(value)};
}
String Int32Entry(const String& key, std::int32_t value) {
    return key + ' ' + Word(static_cast<std::uint32_t>(value));
}
String StringEntry(const String& key, const String& value) {
    return key + ' ' + Word(static_cast<std::uint32_t>(value.size())) + value;
}

QString Q(const char* utf8) {
    return QString::fromUtf8(utf8);
}

void SendKey(QWidget* to, int key, Qt::KeyboardModifiers modifiers, const QString& text, bool autoRepeat) {
    QKeyEvent press(QEvent::KeyPress, key, modifiers, text, autoRepeat);
    QApplication::sendEvent(to, &press);
    QKeyEvent release(QEvent::KeyRelease, key, modifiers, text, autoRepeat);
    QApplication::sendEvent(to, &release);
}

void Type(QWidget* to, const QString& text) {
    for (QChar c : text)
        SendKey(to, c.toUpper().unicode(), Qt::NoModifier, QString(c));
}

void ControlsTest::SetUp() {
    RuntimeInit();
    window = std::make_shared<Window>();
    SetProperties(*window, OVELUND_DESIGN_BLOCK(d::Int32{"Width", 400}, d::Int32{"Height", 300}));
    window->Constructor();
    recorder = std::make_shared<Recorder>();
}

void ControlsTest::TearDown() {
    window->Close();
    window.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    RuntimeInit();
}

QWidget* ControlsTest::Frame() const {
    return window->Native().frame;
}

QWidget* ControlsTest::Content() const {
    return window->Native().content.data();
}

} // namespace testing_support
