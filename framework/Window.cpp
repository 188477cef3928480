#include "framework/Window.h"

#include "framework/Control.h"
#include "framework/MenuBar.h"
#include "framework/PaneChild.h"
#include "framework/Registry.h"
#include "framework/Runtime.h"
#include "framework/qt/MenuBarBuilder.h"
#include "framework/qt/WindowNative.h"

#include <QCloseEvent>
#include <QEventLoop>
#include <QMenuBar>
#include <QPalette>
#include <QVBoxLayout>

#include <algorithm>

namespace Ovelund {

namespace {
QString ToQt(const String& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// Keeps an object's "being built" or "closing" flag up while a scope runs, also when a handler throws.
class FlagScope {
public:
    explicit FlagScope(bool& flag) : flag_(flag) { flag_ = true; }
    ~FlagScope() { flag_ = false; }
    FlagScope(const FlagScope&) = delete;
    FlagScope& operator=(const FlagScope&) = delete;

private:
    bool& flag_;
};
} // namespace

WindowFrame::WindowFrame(QWidget* parent) : QWidget(parent, Qt::Window) {}

void WindowFrame::closeEvent(QCloseEvent* event) {
    // The framework decides whether and how the window closes; the toolkit only hides what it is told to.
    event->ignore();
    if (Ref<Window> window = owner_.lock())
        Dispatch([window] { window->UnifiedClose(false); });
}

QWidget* ContentWidget(const Window& window) {
    return window.Native().content.data();
}

const ClassRecord& Window::Lookup() {
    static const ClassRecord record =
        ClassBuilder<Window>("Window", &Object::Lookup())
            .Event(0, "Activate")
            .Event(1, "AddMenuHandlers")
            .Event(2, "CancelClose")
            .Event(3, "Close")
            .Event(4, "ConstructContextualMenu")
            .Event(5, "ContentsChanged")
            .Event(6, "ContextualMenuAction")
            .Event(7, "CreateControls")
            .Event(8, "Deactivate")
            .Event(9, "DragEnter")
            .Event(10, "DragExit")
            .Event(11, "DragOver")
            .Event(12, "DropObject")
            .Event(13, "EnableMenuItems")
            .Event(14, "KeyDown")
            .Event(15, "KeyUp")
            .Event(16, "Layout")
            .Event(17, "Maximize")
            .Event(18, "Minimize")
            .Event(19, "MouseDown")
            .Event(20, "MouseDrag")
            .Event(21, "MouseEnter")
            .Event(22, "MouseExit")
            .Event(23, "MouseMove")
            .Event(24, "MouseUp")
            .Event(25, "MouseWheel")
            .Event(26, "Moved")
            .Event(27, "Open")
            .Event(28, "Paint")
            .Event(29, "Resized")
            .Event(30, "Resizing")
            .Event(31, "Restore")
            .Event(32, "SetupBindings")
            .Property("Placement", &Window::SetPlacement, &Window::Placement)
            .Property("Width", &Window::SetWidth, &Window::Width)
            .Property("Height", &Window::SetHeight, &Window::Height)
            .Property("MinWidth", &Window::SetMinWidth, &Window::MinWidth)
            .Property("MinHeight", &Window::SetMinHeight, &Window::MinHeight)
            .Property("MaxWidth", &Window::SetMaxWidth, &Window::MaxWidth)
            .Property("MaxHeight", &Window::SetMaxHeight, &Window::MaxHeight)
            .Property("Frame", &Window::SetFrame, &Window::Frame)
            .Property("MacProcId", &Window::SetMacProcId, &Window::MacProcId)
            .Property("Composite", &Window::SetComposite, &Window::Composite)
            .Property("HasBackColor", &Window::SetHasBackColor, &Window::HasBackColor)
            .Property("BackColor", &Window::SetBackColor, &Window::BackColor)
            .Property("Title", &Window::SetTitle, &Window::Title)
            .Property("Visible", &Window::SetVisible, &Window::Visible)
            .Property("FullScreen", &Window::SetFullScreen, &Window::FullScreen)
            .Property("MenuBarVisible", &Window::SetMenuBarVisible, &Window::MenuBarVisible)
            .Property("CloseButton", &Window::SetCloseButton, &Window::CloseButton)
            .Property("Resizeable", &Window::SetResizeable, &Window::Resizeable)
            .Property("LiveResize", &Window::SetLiveResize, &Window::LiveResize)
            .Property("MaximizeButton", &Window::SetMaximizeButton, &Window::MaximizeButton)
            .Property("MinimizeButton", &Window::SetMinimizeButton, &Window::MinimizeButton)
            .Property("FullScreenButton", &Window::SetFullScreenButton, &Window::FullScreenButton)
            .Build();
    return record;
}

Window::Window() : native_(std::make_unique<WindowNative>()) {
    CheckUIThread();
    native_->frame = new WindowFrame;
    native_->layout = new QVBoxLayout(native_->frame);
    native_->layout->setContentsMargins(0, 0, 0, 0);
    native_->layout->setSpacing(0);
    native_->content = new QWidget(native_->frame);
    native_->content->setObjectName(QStringLiteral("content"));
    native_->layout->addWidget(native_->content);
    ApplyGeometry();
    ApplyFrameFlags();
}

Window::~Window() {
    if (native_->frame) {
        native_->frame->hide();
        native_->frame->deleteLater();
    }
}

void Window::RaiseWindowEvent(int number) {
    const EventRecord* event = classRecord().FindEvent(number);
    if (event && event->handler)
        event->handler(*this);
}

void Window::Constructor() {
    CheckUIThread();
    if (open_)
        return;
    auto self = std::static_pointer_cast<Window>(shared_from_this());
    native_->frame->SetOwner(self);
    native_->frame->setObjectName(QString::fromStdString(classRecord().FullName()));
    open_ = true;
    RegisterOpenWindow(self);
    {
        FlagScope building(building_);
        RaiseWindowEvent(EventCreateControls);
        RaiseWindowEvent(EventLayout);
        auto controls = controls_;
        for (auto& [name, object] : controls)
            if (auto* control = dynamic_cast<Control*>(object.get()))
                control->RaiseOpen();
        RaiseWindowEvent(EventOpen);
    }
    if (open_ && visible_)
        Show();
}

void Window::Show() {
    CheckUIThread();
    if (!open_ || !native_->frame)
        return;
    visible_ = true;
    native_->frame->show();
    native_->frame->raise();
    native_->frame->activateWindow();
}

void Window::ShowModal() {
    CheckUIThread();
    if (!open_ || !native_->frame)
        return;
    auto self = shared_from_this();
    QWidget* frame = native_->frame;
    if (frame->windowModality() != Qt::ApplicationModal) {
        // The toolkit takes a change of modality only on a hidden window, and the design has shown it
        // already.
        const bool shown = frame->isVisible();
        frame->hide();
        frame->setWindowModality(Qt::ApplicationModal);
        if (!shown)
            visible_ = false;
    }
    Show();
    if (!open_ || RuntimeQuitRequested())
        return;
    QEventLoop loop;
    native_->modalLoops.push_back(&loop);
    loop.exec();
    std::erase(native_->modalLoops, &loop);
}

void Window::Hide() {
    CheckUIThread();
    visible_ = false;
    if (native_->frame)
        native_->frame->hide();
}

void Window::Close() {
    CheckUIThread();
    UnifiedClose(false);
}

void Window::UnifiedClose(bool appQuitting) {
    (void)appQuitting; // no window of this framework's users vetoes its closing (CancelClose)
    if (!open_ || closing_)
        return;
    auto self = std::static_pointer_cast<Window>(shared_from_this());
    FlagScope closing(closing_);
    RaiseWindowEvent(EventClose);
    // No events are delivered while the controls close, so no handler ever sees a half-closed window.
    auto controls = std::move(controls_);
    controls_.clear();
    for (auto& [name, object] : controls)
        if (auto* control = dynamic_cast<Control*>(object.get()))
            control->Close();
    controls.clear();
    open_ = false;
    UnregisterOpenWindow(*this);
    if (native_->frame)
        native_->frame->hide();
    // Every ShowModal of this window returns once it has closed.
    for (QEventLoop* loop : native_->modalLoops)
        loop->quit();
}

void Window::AddControl(const String& name, const Ref<Object>& control) {
    CheckUIThread();
    controls_.emplace_back(name, control);
}

Ref<Object> Window::ControlByName(const String& name) const {
    for (const auto& [controlName, object] : controls_)
        if (controlName == name)
            return object;
    return nullptr;
}

Ref<Object> Window::New(const ClassRecord& record) {
    Ref<Object> object = RuntimeNewObject(record);
    if (auto* child = dynamic_cast<PaneChild*>(object.get()))
        child->SetWindow(std::static_pointer_cast<Window>(shared_from_this()));
    return object;
}

void Window::SetMenuBar(const Ref<Ovelund::MenuBar>& menuBar) {
    CheckUIThread();
    menuBar_ = menuBar;
    if (native_->menuBar) {
        native_->layout->setMenuBar(nullptr);
        native_->menuBar->deleteLater();
    }
    if (menuBar) {
        native_->menuBar = BuildMenuBar(*menuBar, native_->frame);
        native_->menuBar->setVisible(menuBarVisible_);
        native_->layout->setMenuBar(native_->menuBar);
    }
}

void Window::ApplyGeometry() {
    QWidget* content = native_->content;
    if (!content)
        return;
    const int width = std::clamp(width_, 1, 32000);
    const int height = std::clamp(height_, 1, 32000);
    if (resizeable_) {
        content->setMinimumSize(std::clamp(minWidth_, 1, width), std::clamp(minHeight_, 1, height));
        content->setMaximumSize(std::max(width, maxWidth_), std::max(height, maxHeight_));
        content->resize(width, height);
        native_->layout->setSizeConstraint(QLayout::SetDefaultConstraint);
    } else {
        content->setFixedSize(width, height);
        native_->layout->setSizeConstraint(QLayout::SetFixedSize);
    }
}

void Window::ApplyFrameFlags() {
    if (!native_->frame)
        return;
    Qt::WindowFlags flags = (frame_ == 1 ? Qt::Dialog : Qt::Window) | Qt::CustomizeWindowHint |
                            Qt::WindowTitleHint | Qt::WindowSystemMenuHint;
    if (closeButton_)
        flags |= Qt::WindowCloseButtonHint;
    if (minimizeButton_)
        flags |= Qt::WindowMinimizeButtonHint;
    if (maximizeButton_ && resizeable_)
        flags |= Qt::WindowMaximizeButtonHint;
    const bool shown = native_->frame->isVisible();
    native_->frame->setWindowFlags(flags);
    if (shown)
        native_->frame->show();
}

void Window::SetWidth(std::int32_t value) {
    width_ = value;
    ApplyGeometry();
}
void Window::SetHeight(std::int32_t value) {
    height_ = value;
    ApplyGeometry();
}
void Window::SetMinWidth(std::int32_t value) {
    minWidth_ = value;
    ApplyGeometry();
}
void Window::SetMinHeight(std::int32_t value) {
    minHeight_ = value;
    ApplyGeometry();
}
void Window::SetMaxWidth(std::int32_t value) {
    maxWidth_ = value;
    ApplyGeometry();
}
void Window::SetMaxHeight(std::int32_t value) {
    maxHeight_ = value;
    ApplyGeometry();
}
void Window::SetResizeable(bool value) {
    resizeable_ = value;
    ApplyGeometry();
    ApplyFrameFlags();
}
void Window::SetFrame(std::int32_t value) {
    frame_ = value;
    ApplyFrameFlags();
}
void Window::SetCloseButton(bool value) {
    closeButton_ = value;
    ApplyFrameFlags();
}
void Window::SetMaximizeButton(bool value) {
    maximizeButton_ = value;
    ApplyFrameFlags();
}
void Window::SetMinimizeButton(bool value) {
    minimizeButton_ = value;
    ApplyFrameFlags();
}

void Window::SetHasBackColor(bool value) {
    hasBackColor_ = value;
    SetBackColor(backColor_);
}

void Window::SetBackColor(Color value) {
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
    menuBarVisible_ = value;
    if (native_->menuBar)
        native_->menuBar->setVisible(value);
}

Ref<Window> GetImplicitWindow(const String& fullName) {
    for (const auto& window : OpenWindows())
        if (window->classRecord().FullName() == fullName)
            return window;
    return nullptr;
}

} // namespace Ovelund
