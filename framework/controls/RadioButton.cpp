#include "framework/controls/RadioButton.h"

#include "framework/dispatch/Dispatch.h"
#include "framework/qt/ControlNative.h"
#include "framework/qt/QtText.h"
#include "framework/runtime/UIThread.h"

#include <QRadioButton>

namespace Ovelund {

const ClassRecord& RadioButton::Lookup() {
    static const ClassRecord record =
        ClassBuilder<RadioButton>("RadioButton", &RectControl::Lookup())
            .Event<>(EventAction, "Action")
            .Property("Caption", &RadioButton::SetCaption, &RadioButton::Caption)
            .Property("Value", &RadioButton::SetValue, &RadioButton::Value)
            .With(&RectControl::FontProperties<RadioButton>)
            .Build();
    return record;
}

void RadioButton::CreateWidget(ControlNative& native) {
    auto* button = new QRadioButton(native.parent);
    button->setAutoExclusive(true);
    native.widget = button;
    ApplyCaption();
    ApplyValue();
    WeakRef<Object> weak = weak_from_this();
    QObject::connect(button, &QRadioButton::toggled, button, [weak](bool on) {
        if (Ref<Object> self = weak.lock())
            static_cast<RadioButton&>(*self).value_ = on;
    });
    // clicked comes from the user only; setChecked does not emit it.
    QObject::connect(button, &QRadioButton::clicked, button, [weak] {
        Ref<Object> self = weak.lock();
        if (!self)
            return;
        Dispatch([self] { static_cast<RadioButton&>(*self).RaiseEvent(EventAction, self); });
    });
}

void RadioButton::ApplyCaption() {
    if (auto* button = NativeWidget<QRadioButton>(Native())) {
        QString shown = ToQt(caption_);
        button->setText(shown.replace(QLatin1Char('&'), QStringLiteral("&&")));
    }
}

void RadioButton::ApplyValue() {
    auto* button = NativeWidget<QRadioButton>(Native());
    if (!button || button->isChecked() == value_)
        return;
    if (value_) {
        button->setChecked(true); // turns the container's other buttons off
    } else {
        // An exclusive button that is on refuses to turn off by itself.
        button->setAutoExclusive(false);
        button->setChecked(false);
        button->setAutoExclusive(true);
    }
}

void RadioButton::SetValue(bool value) {
    CheckUIThread();
    value_ = value;
    ApplyValue();
}

void RadioButton::SetCaption(const String& value) {
    CheckUIThread();
    caption_ = value;
    ApplyCaption();
}

} // namespace Ovelund
