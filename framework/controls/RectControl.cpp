#include "framework/controls/RectControl.h"

#include "framework/qt/ControlNative.h"
#include "framework/qt/Fonts.h"
#include "framework/qt/QtText.h"
#include "framework/qt/WindowNative.h"
#include "framework/runtime/UIThread.h"

#include <algorithm>
#include <cstdint>

namespace Ovelund {

const ClassRecord& RectControl::Lookup() {
    static const ClassRecord record =
        ClassBuilder<RectControl>("RectControl", &Control::Lookup())
            .NeverRaised(EventConstructContextualMenu, "ConstructContextualMenu")
            .NeverRaised(EventContextualMenuAction, "ContextualMenuAction")
            .NeverRaised(EventDragEnter, "DragEnter")
            .NeverRaised(EventDragExit, "DragExit")
            .NeverRaised(EventDragOver, "DragOver")
            .NeverRaised(EventDropObject, "DropObject")
            .NeverRaised(EventKeyDown, "KeyDown")
            .NeverRaised(EventKeyUp, "KeyUp")
            .NeverRaised(EventMouseDown, "MouseDown")
            .NeverRaised(EventMouseDrag, "MouseDrag")
            .NeverRaised(EventMouseEnter, "MouseEnter")
            .NeverRaised(EventMouseExit, "MouseExit")
            .Property("Left", &RectControl::SetLeft, &RectControl::Left)
            .Property("Top", &RectControl::SetTop, &RectControl::Top)
            .Property("Width", &RectControl::SetWidth, &RectControl::Width)
            .Property("Height", &RectControl::SetHeight, &RectControl::Height)
            .Property("LockLeft", &RectControl::SetLockLeft, &RectControl::LockLeft)
            .Property("LockTop", &RectControl::SetLockTop, &RectControl::LockTop)
            .Property("LockRight", &RectControl::SetLockRight, &RectControl::LockRight)
            .Property("LockBottom", &RectControl::SetLockBottom, &RectControl::LockBottom)
            .Property("TabIndex", &RectControl::SetTabIndex, &RectControl::TabIndex)
            .Property("TabStop", &RectControl::SetTabStop, &RectControl::TabStop)
            .Property("Visible", &RectControl::SetVisible, &RectControl::Visible)
            .Property("Enabled", &RectControl::SetEnabled, &RectControl::Enabled)
            .Property("AutoDeactivate", &RectControl::SetAutoDeactivate, &RectControl::AutoDeactivate)
            .Property("HelpTag", &RectControl::SetHelpTag, &RectControl::HelpTag)
            .Property("InitialParent", &RectControl::SetInitialParent, &RectControl::InitialParent)
            .Property("TextSize", &RectControl::SetTextSize, &RectControl::TextSize)
            .Property("TextUnit", &RectControl::SetTextUnit, &RectControl::TextUnit)
            .NoFactory()
            .Build();
    return record;
}

RectControl::RectControl() : native_(std::make_unique<ControlNative>()) {}

RectControl::~RectControl() {
    if (native_->widget)
        native_->widget->deleteLater();
}

void RectControl::CreateNative() {
    Ref<ControlHost> window = Host();
    native_->parent = window ? window->Native().content.data() : nullptr;
    native_->parentOrigin = QPoint(0, 0);
    CreateWidget(*native_);
    QWidget* widget = native_->widget;
    if (!widget)
        return;
    widget->setObjectName(ToQt(Name()));
    native_->naturalFocus = widget->focusPolicy();
    ApplyTabStop();
    ApplyParent();
    ApplyFont();
    widget->setEnabled(enabled_);
    widget->setToolTip(ToQt(helpTag_));
    widget->setVisible(visible_);
}

void RectControl::DestroyNative() {
    if (QWidget* widget = native_->widget) {
        widget->hide();
        widget->deleteLater();
    }
    native_->widget = nullptr;
}

void RectControl::NameChanged() {
    if (QWidget* widget = native_->widget)
        widget->setObjectName(ToQt(Name()));
}

void RectControl::ApplyGeometry() {
    QWidget* widget = native_->widget;
    if (!widget)
        return;
    QSize limit(ControlHost::kLargestContent, ControlHost::kLargestContent);
    if (Ref<ControlHost> window = Host()) {
        const ControlHost::ContentSize content = window->ContentLimit();
        limit = QSize(content.width, content.height);
    }
    auto bounded = [](std::int64_t value, int lowest, int highest) {
        return static_cast<int>(std::clamp<std::int64_t>(value, lowest, highest));
    };
    const int x = bounded(std::int64_t{left_} - native_->parentOrigin.x(), -limit.width(), limit.width());
    const int y = bounded(std::int64_t{top_} - native_->parentOrigin.y(), -limit.height(), limit.height());
    widget->setGeometry(x, y, bounded(width_, 0, limit.width()), bounded(height_, 0, limit.height()));
}

void RectControl::ApplyTabStop() {
    if (QWidget* widget = native_->widget)
        widget->setFocusPolicy(tabStop_ ? native_->naturalFocus : Qt::NoFocus);
}

void RectControl::TabOrderChanged() {
    if (Ref<ControlHost> window = Host())
        window->ApplyTabOrder();
}

void RectControl::ApplyParent() {
    QWidget* widget = native_->widget;
    if (!widget)
        return;
    QWidget* parent = nullptr;
    QPoint origin(0, 0);
    Ref<ControlHost> window = Host();
    if (window && !initialParent_.empty()) {
        // A container named by InitialParent is created before its children; one that does not exist (or is
        // no visual control) leaves the control on the window.
        auto container = std::dynamic_pointer_cast<RectControl>(window->ControlByName(initialParent_));
        if (container && container.get() != this && container->native_->widget) {
            parent = container->native_->widget;
            origin = QPoint(container->left_, container->top_);
        }
    }
    if (!parent && window)
        parent = window->Native().content.data();
    native_->parentOrigin = origin;
    if (parent && widget->parentWidget() != parent) {
        widget->setParent(parent);
        widget->setVisible(visible_);
    }
    native_->parent = parent;
    ApplyGeometry();
    TabOrderChanged();
}

void RectControl::ApplyFont() {
    if (QWidget* widget = native_->widget)
        widget->setFont(ControlFont(textFont_, textSize_, kDefaultTextSize, bold_, italic_, underline_));
}

void RectControl::SetLeft(std::int32_t value) {
    CheckUIThread();
    left_ = value;
    ApplyGeometry();
}
void RectControl::SetTop(std::int32_t value) {
    CheckUIThread();
    top_ = value;
    ApplyGeometry();
}
void RectControl::SetWidth(std::int32_t value) {
    CheckUIThread();
    width_ = value;
    ApplyGeometry();
}
void RectControl::SetHeight(std::int32_t value) {
    CheckUIThread();
    height_ = value;
    ApplyGeometry();
}

void RectControl::SetTabStop(bool value) {
    CheckUIThread();
    tabStop_ = value;
    ApplyTabStop();
}

void RectControl::SetTabIndex(std::int32_t value) {
    CheckUIThread();
    tabIndex_ = value;
    TabOrderChanged();
}

void RectControl::SetLockLeft(bool value) {
    CheckUIThread();
    lockLeft_ = value;
}
void RectControl::SetLockTop(bool value) {
    CheckUIThread();
    lockTop_ = value;
}
void RectControl::SetLockRight(bool value) {
    CheckUIThread();
    lockRight_ = value;
}
void RectControl::SetLockBottom(bool value) {
    CheckUIThread();
    lockBottom_ = value;
}
void RectControl::SetAutoDeactivate(bool value) {
    CheckUIThread();
    autoDeactivate_ = value;
}

void RectControl::SetVisible(bool value) {
    CheckUIThread();
    visible_ = value;
    if (QWidget* widget = native_->widget)
        widget->setVisible(value);
}

void RectControl::SetEnabled(bool value) {
    CheckUIThread();
    enabled_ = value;
    if (QWidget* widget = native_->widget)
        widget->setEnabled(value);
    EnabledChanged();
}

void RectControl::SetHelpTag(const String& value) {
    CheckUIThread();
    helpTag_ = value;
    if (QWidget* widget = native_->widget)
        widget->setToolTip(ToQt(value));
}

void RectControl::SetInitialParent(const String& value) {
    CheckUIThread();
    initialParent_ = value;
    ApplyParent();
}

void RectControl::SetTextSize(float value) {
    CheckUIThread();
    textSize_ = value;
    ApplyFont();
}
void RectControl::SetTextUnit(std::uint8_t value) {
    CheckUIThread();
    textUnit_ = value;
    ApplyFont();
}
void RectControl::SetTextFont(const String& value) {
    CheckUIThread();
    textFont_ = value;
    ApplyFont();
}
void RectControl::SetBold(bool value) {
    CheckUIThread();
    bold_ = value;
    ApplyFont();
}
void RectControl::SetItalic(bool value) {
    CheckUIThread();
    italic_ = value;
    ApplyFont();
}
void RectControl::SetUnderline(bool value) {
    CheckUIThread();
    underline_ = value;
    ApplyFont();
}

void RectControl::Refresh(bool immediately) {
    CheckUIThread();
    if (immediately) {
        RepaintNow();
    } else if (QWidget* widget = native_->widget) {
        widget->update();
    }
}

void RectControl::RepaintNow() {
    if (QWidget* widget = native_->widget)
        widget->repaint();
}

} // namespace Ovelund
