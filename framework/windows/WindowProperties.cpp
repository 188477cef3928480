// The window's design properties and how each reaches the toolkit: the content area's size and its limits
// (which bound the controls too), the frame's kind (and with it the modality) and buttons, the back colour,
// the title, visibility and the menu bar's visibility. The placement, the procedure id, composite, full
// screen, live resize and the full-screen button are kept as designed and change nothing here. Every setter
// tests the thread first.

#include "framework/windows/Window.h"

#include "framework/controls/RectControl.h"
#include "framework/qt/QtText.h"
#include "framework/qt/WindowNative.h"
#include "framework/runtime/UIThread.h"

#include <QMenuBar>
#include <QPalette>
#include <QVBoxLayout>

#include <algorithm>

namespace Ovelund {

Window::ContentSize Window::ContentLimit() const {
    const int width = std::clamp(width_, 1, kLargestContent);
    const int height = std::clamp(height_, 1, kLargestContent);
    if (!resizeable_)
        return {width, height};
    return {std::clamp(maxWidth_, width, kLargestContent), std::clamp(maxHeight_, height, kLargestContent)};
}

void Window::ApplyGeometry() {
    QWidget* content = native_->content;
    if (!content)
        return;
    const int width = std::clamp(width_, 1, kLargestContent);
    const int height = std::clamp(height_, 1, kLargestContent);
    if (resizeable_) {
        const ContentSize limit = ContentLimit();
        content->setMinimumSize(std::clamp(minWidth_, 1, width), std::clamp(minHeight_, 1, height));
        content->setMaximumSize(limit.width, limit.height);
        content->resize(width, height);
        native_->layout->setSizeConstraint(QLayout::SetDefaultConstraint);
    } else {
        content->setFixedSize(width, height);
        native_->layout->setSizeConstraint(QLayout::SetFixedSize);
    }
    // The controls are bounded by the content area (RectControl.h).
    for (const auto& [name, object] : controls_)
        if (auto* control = dynamic_cast<RectControl*>(object.get()))
            control->UpdateGeometry();
}

void Window::ApplyFrameFlags() {
    if (!native_->frame)
        return;
    Qt::WindowFlags flags = (frame_ == kModalFrame ? Qt::Dialog : Qt::Window) | Qt::CustomizeWindowHint |
                            Qt::WindowTitleHint | Qt::WindowSystemMenuHint;
    if (closeButton_)
        flags |= Qt::WindowCloseButtonHint;
    if (minimizeButton_)
        flags |= Qt::WindowMinimizeButtonHint;
    if (maximizeButton_ && resizeable_)
        flags |= Qt::WindowMaximizeButtonHint;
    // A window of the modal frame, the update window's, is application-modal whenever it shows. It takes
    // that here, from its design, before it is first shown: the toolkit takes a modality only on a hidden
    // window, and hiding a shown window to show it again at once can leave it unmapped under a window
    // manager.
    const Qt::WindowModality modality =
        frame_ == kModalFrame || !native_->modalLoops.empty() ? Qt::ApplicationModal : Qt::NonModal;
    if (native_->frame->windowModality() != modality)
        native_->frame->setWindowModality(modality);
    const bool shown = native_->frame->isVisible();
    native_->frame->setWindowFlags(flags);
    if (shown)
        native_->frame->show();
}

void Window::SetWidth(std::int32_t value) {
    CheckUIThread();
    width_ = value;
    ApplyGeometry();
}
void Window::SetHeight(std::int32_t value) {
    CheckUIThread();
    height_ = value;
    ApplyGeometry();
}
void Window::SetMinWidth(std::int32_t value) {
    CheckUIThread();
    minWidth_ = value;
    ApplyGeometry();
}
void Window::SetMinHeight(std::int32_t value) {
    CheckUIThread();
    minHeight_ = value;
    ApplyGeometry();
}
void Window::SetMaxWidth(std::int32_t value) {
    CheckUIThread();
    maxWidth_ = value;
    ApplyGeometry();
}
void Window::SetMaxHeight(std::int32_t value) {
    CheckUIThread();
    maxHeight_ = value;
    ApplyGeometry();
}
void Window::SetResizeable(bool value) {
    CheckUIThread();
    resizeable_ = value;
    ApplyGeometry();
    ApplyFrameFlags();
}
void Window::SetFrame(std::int32_t value) {
    CheckUIThread();
    frame_ = value;
    ApplyFrameFlags();
}
void Window::SetCloseButton(bool value) {
    CheckUIThread();
    closeButton_ = value;
    ApplyFrameFlags();
}
void Window::SetMaximizeButton(bool value) {
    CheckUIThread();
    maximizeButton_ = value;
    ApplyFrameFlags();
}
void Window::SetMinimizeButton(bool value) {
    CheckUIThread();
    minimizeButton_ = value;
    ApplyFrameFlags();
}

void Window::SetPlacement(std::int32_t value) {
    CheckUIThread();
    placement_ = value;
}
void Window::SetMacProcId(std::int32_t value) {
    CheckUIThread();
    macProcId_ = value;
}
void Window::SetComposite(bool value) {
    CheckUIThread();
    composite_ = value;
}
void Window::SetFullScreen(bool value) {
    CheckUIThread();
    fullScreen_ = value;
}
void Window::SetLiveResize(bool value) {
    CheckUIThread();
    liveResize_ = value;
}
void Window::SetFullScreenButton(bool value) {
    CheckUIThread();
    fullScreenButton_ = value;
}

void Window::SetHasBackColor(bool value) {
    CheckUIThread();
    hasBackColor_ = value;
    SetBackColor(backColor_);
}

void Window::SetBackColor(Color value) {
    CheckUIThread();
    backColor_ = value;
    if (QWidget* content = native_->content) {
        content->setAutoFillBackground(hasBackColor_);
        QPalette palette = content->palette();
        if (hasBackColor_)
            palette.setColor(QPalette::Window, QColor(value.red, value.green, value.blue));
        content->setPalette(palette);
    }
}

void Window::SetTitle(const String& value) {
    CheckUIThread();
    title_ = value;
    if (native_->frame)
        native_->frame->setWindowTitle(ToQt(value));
}

void Window::SetVisible(bool value) {
    CheckUIThread();
    visible_ = value;
    if (building_ || !open_)
        return; // a window being built is shown once it is complete
    if (value)
        Show();
    else
        Hide();
}

void Window::SetMenuBarVisible(bool value) {
    CheckUIThread();
    menuBarVisible_ = value;
    if (native_->menuBar)
        native_->menuBar->setVisible(value);
}

} // namespace Ovelund
