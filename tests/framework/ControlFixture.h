#pragma once
// What the tests of the visual controls share: a real window on the offscreen platform in which each test
// creates its controls as a window's control creation does, a recorder that receives the controls' events
// through delegates as a window's handlers do, and helpers for design entries, widgets and keys.

#include "framework/controls/Label.h"
#include "framework/controls/PushButton.h"
#include "framework/controls/RadioButton.h"
#include "framework/controls/RectControl.h"
#include "framework/controls/TextField.h"
#include "framework/core/Delegate.h"
#include "framework/core/DesignBlock.h"
#include "framework/core/EventSource.h"
#include "framework/core/SetProperties.h"
#include "framework/qt/ControlNative.h"
#include "framework/windows/Window.h"

#include <QString>
#include <QWidget>

#include <gtest/gtest.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <string_view>
#include <vector>

namespace testing_support {

inline constexpr std::int32_t kIntMin = std::numeric_limits<std::int32_t>::min();
inline constexpr std::int32_t kIntMax = std::numeric_limits<std::int32_t>::max();

// Design entries whose values are known only at run time (the compile-time encoder takes constants).
Ovelund::String Word(std::uint32_t value);
Ovelund::String Int32Entry(const Ovelund::String& key, std::int32_t value);
Ovelund::String StringEntry(const Ovelund::String& key, const Ovelund::String& value);

QString Q(const char* utf8);

// Receives the controls' events through delegates, as a window's handlers do.
class Recorder : public Ovelund::Object {
public:
    void OnButton(Ovelund::Ref<Ovelund::PushButton> sender) { buttons.push_back(sender); }
    void OnRadio(Ovelund::Ref<Ovelund::RadioButton> sender) { radios.push_back(sender); }
    void OnTextChange(Ovelund::Ref<Ovelund::TextField> sender) { texts.push_back(sender->Text()); }
    void OnSelChange(Ovelund::Ref<Ovelund::TextField> sender) { selections.push_back(sender->SelStart()); }
    void OnOpen(Ovelund::Ref<Ovelund::Label> sender) { opened.push_back(sender); }
    void Throw(Ovelund::Ref<Ovelund::TextField>) { throw Ovelund::RuntimeException("from the handler"); }

    std::vector<Ovelund::Ref<Ovelund::PushButton>> buttons;
    std::vector<Ovelund::Ref<Ovelund::RadioButton>> radios;
    std::vector<Ovelund::String> texts;
    std::vector<std::int32_t> selections;
    std::vector<Ovelund::Ref<Ovelund::Label>> opened;
};

template <class Handler>
void Bind(const Ovelund::Ref<Ovelund::Object>& control, int number, Handler handler, const char* signature,
          const Ovelund::Ref<Recorder>& to) {
    Ovelund::RuntimeAddEventHandler(*control, number,
                                    Ovelund::RuntimeCreateDelegate(handler, to, signature, true));
}

template <class W> W* WidgetOf(const Ovelund::RectControl& control) {
    return Ovelund::NativeWidget<W>(control.Native());
}

void SendKey(QWidget* to, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier, const QString& text = {},
             bool autoRepeat = false);
void Type(QWidget* to, const QString& text);

class ControlsTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // New, construct, register and design, as a window's control creation does.
    template <class T> Ovelund::Ref<T> Make(const Ovelund::String& name, std::string_view design) {
        Ovelund::Ref<T> control = Ovelund::RuntimeCheckCast<T>(window->New(T::Lookup()));
        control->Constructor();
        window->AddControl(name, control);
        Ovelund::SetProperties(*control, design);
        return control;
    }
    template <class T, std::size_t N>
    Ovelund::Ref<T> Make(const Ovelund::String& name, const std::array<char, N>& design) {
        return Make<T>(name, Ovelund::design::View(design));
    }

    QWidget* Frame() const;
    QWidget* Content() const;

    Ovelund::Ref<Ovelund::Window> window;
    Ovelund::Ref<Recorder> recorder;
};

} // namespace testing_support
