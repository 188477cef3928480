#include "framework/controls/PushButton.h"

#include "framework/dispatch/Dispatch.h"
#include "framework/qt/ControlNative.h"
#include "framework/qt/QtText.h"
#include "framework/runtime/UIThread.h"

#include <QEvent>
#include <QKeyEvent>
#include <QPointer>
#include <QPushButton>

#include <algorithm>
#include <vector>

namespace Ovelund {

namespace {

// The Return/Enter and Escape keys of one window. It watches the window frame, which receives every key press
// that the focused widget (and each widget between it and the frame) leaves unhandled. The toolkit's own
// default buttons work in dialogs only, and the framework's windows are no dialogs.
class ButtonKeys final : public QObject {
public:
    enum Role { DefaultRole, CancelRole };

    // The frame's key handler; made on first use when `create` is set, else nullptr if there is none.
    static ButtonKeys* Of(QWidget* frame, bool create) {
        for (QObject* child : frame->children())
            if (auto* keys = dynamic_cast<ButtonKeys*>(child))
                return keys;
        return create ? new ButtonKeys(frame) : nullptr;
    }

    // Enters `button` as the most recent holder of `role`, or removes it.
    void Set(Role role, QPushButton* button, bool holds) {
        auto& list = role == DefaultRole ? defaults_ : cancels_;
        std::erase_if(list,
                      [button](const QPointer<QPushButton>& entry) { return !entry || entry == button; });
        if (holds)
            list.emplace_back(button);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched != parent() || event->type() != QEvent::KeyPress)
            return false;
        auto* key = static_cast<QKeyEvent*>(event);
        const Qt::KeyboardModifiers modifiers = key->modifiers() & ~Qt::KeypadModifier;
        if (modifiers != Qt::NoModifier)
            return false;
        const std::vector<QPointer<QPushButton>>* list = nullptr;
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)
            list = &defaults_;
        else if (key->key() == Qt::Key_Escape)
            list = &cancels_;
        else
            return false;
        QPushButton* target = nullptr;
        for (auto it = list->rbegin(); it != list->rend() && !target; ++it)
            if (*it && (*it)->isEnabled() && (*it)->isVisible())
                target = *it;
        if (!target)
            return false;
        key->accept();
        if (!key->isAutoRepeat())
            target->click(); // the button's clicked signal raises its Action event
        return true;
    }

private:
    explicit ButtonKeys(QWidget* frame) : QObject(frame) { frame->installEventFilter(this); }

    std::vector<QPointer<QPushButton>> defaults_;
    std::vector<QPointer<QPushButton>> cancels_;
};

} // namespace

const ClassRecord& PushButton::Lookup() {
    static const ClassRecord record =
        ClassBuilder<PushButton>("PushButton", &RectControl::Lookup())
            .Event<>(EventAction, "Action")
            .Property("Caption", &PushButton::SetCaption, &PushButton::Caption)
            .Property("Default", &PushButton::SetDefault, &PushButton::Default)
            .Property("Cancel", &PushButton::SetCancel, &PushButton::Cancel)
            .Property("ButtonStyle", &PushButton::SetButtonStyle, &PushButton::ButtonStyle)
            .With(&RectControl::FontProperties<PushButton>)
            .Build();
    return record;
}

void PushButton::CreateWidget(ControlNative& native) {
    auto* button = new QPushButton(native.parent);
    // Return is the window's business (ButtonKeys), not that of whichever button has the focus.
    button->setAutoDefault(false);
    native.widget = button;
    WeakRef<Object> weak = weak_from_this();
    QObject::connect(button, &QPushButton::clicked, button, [weak] {
        Ref<Object> self = weak.lock();
        if (!self)
            return;
        Dispatch([self] { static_cast<PushButton&>(*self).RaiseEvent(EventAction, self); });
    });
    ApplyCaption();
    ApplyRole(ButtonKeys::DefaultRole);
    ApplyRole(ButtonKeys::CancelRole);
}

void PushButton::ApplyCaption() {
    if (auto* button = NativeWidget<QPushButton>(Native())) {
        QString shown = ToQt(caption_);
        button->setText(shown.replace(QLatin1Char('&'), QStringLiteral("&&")));
    }
}

void PushButton::ApplyRole(int role) {
    auto* button = NativeWidget<QPushButton>(Native());
    if (!button)
        return;
    const bool holds = role == ButtonKeys::DefaultRole ? default_ : cancel_;
    if (role == ButtonKeys::DefaultRole)
        button->setDefault(holds);
    QWidget* frame = button->window();
    if (frame == button)
        return; // a button outside any window has no window keys
    if (ButtonKeys* keys = ButtonKeys::Of(frame, holds))
        keys->Set(static_cast<ButtonKeys::Role>(role), button, holds);
}

void PushButton::SetCaption(const String& value) {
    CheckUIThread();
    caption_ = value;
    ApplyCaption();
}

void PushButton::SetDefault(bool value) {
    CheckUIThread();
    default_ = value;
    ApplyRole(ButtonKeys::DefaultRole);
}

void PushButton::SetCancel(bool value) {
    CheckUIThread();
    cancel_ = value;
    ApplyRole(ButtonKeys::CancelRole);
}

void PushButton::SetButtonStyle(std::int32_t value) {
    CheckUIThread();
    buttonStyle_ = value;
}

} // namespace Ovelund
