#include "framework/windows/Window.h"

#include "framework/application/Application.h"
#include "framework/application/MenuBar.h"
#include "framework/application/MenuBarBuilder.h"
#include "framework/controls/Control.h"
#include "framework/controls/PaneChild.h"
#include "framework/controls/RectControl.h"
#include "framework/core/FlagScope.h"
#include "framework/dispatch/Dispatch.h"
#include "framework/qt/ControlNative.h"
#include "framework/qt/MenuItemNative.h"
#include "framework/qt/QtText.h"
#include "framework/qt/WindowNative.h"
#include "framework/runtime/EventLoop.h"
#include "framework/runtime/UIThread.h"
#include "framework/windows/OpenWindows.h"

#include <QCloseEvent>
#include <QEventLoop>
#include <QMenuBar>
#include <QVBoxLayout>

#include <algorithm>
#include <map>

namespace Ovelund {

WindowFrame::WindowFrame(QWidget* parent) : QWidget(parent, Qt::Window) {}

void WindowFrame::closeEvent(QCloseEvent* event) {
    // The framework decides whether and how the window closes; the toolkit only hides what it is told to.
    event->ignore();
    if (Ref<Window> window = owner_.lock())
        Dispatch([window] { window->UnifiedClose(false); });
}

const ClassRecord& Window::Lookup() {
    static const ClassRecord record =
        ClassBuilder<Window>("Window", &Object::Lookup())
            .NeverRaised(EventActivate, "Activate")
            .NeverRaised(EventAddMenuHandlers, "AddMenuHandlers")
            .NeverRaised(EventCancelClose, "CancelClose")
            .Event<>(EventClose, "Close")
            .NeverRaised(EventConstructContextualMenu, "ConstructContextualMenu")
            .NeverRaised(EventContentsChanged, "ContentsChanged")
            .NeverRaised(EventContextualMenuAction, "ContextualMenuAction")
            .Event<>(EventCreateControls, "CreateControls")
            .NeverRaised(EventDeactivate, "Deactivate")
            .NeverRaised(EventDragEnter, "DragEnter")
            .NeverRaised(EventDragExit, "DragExit")
            .NeverRaised(EventDragOver, "DragOver")
            .NeverRaised(EventDropObject, "DropObject")
            .NeverRaised(EventEnableMenuItems, "EnableMenuItems")
            .NeverRaised(EventKeyDown, "KeyDown")
            .NeverRaised(EventKeyUp, "KeyUp")
            .Event<>(EventLayout, "Layout")
            .NeverRaised(EventMaximize, "Maximize")
            .NeverRaised(EventMinimize, "Minimize")
            .NeverRaised(EventMouseDown, "MouseDown")
            .NeverRaised(EventMouseDrag, "MouseDrag")
            .NeverRaised(EventMouseEnter, "MouseEnter")
            .NeverRaised(EventMouseExit, "MouseExit")
            .NeverRaised(EventMouseMove, "MouseMove")
            .NeverRaised(EventMouseUp, "MouseUp")
            .NeverRaised(EventMouseWheel, "MouseWheel")
            .NeverRaised(EventMoved, "Moved")
            .Event<>(EventOpen, "Open")
            .NeverRaised(EventPaint, "Paint")
            .NeverRaised(EventResized, "Resized")
            .NeverRaised(EventResizing, "Resizing")
            .NeverRaised(EventRestore, "Restore")
            .NeverRaised(EventSetupBindings, "SetupBindings")
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
    const EventRecord* event = Record().FindEvent(number);
    if (event && event->handler)
        event->handler(*this);
}

void Window::Constructor() {
    CheckUIThread();
    if (open_)
        return;
    auto self = std::static_pointer_cast<Window>(shared_from_this());
    native_->frame->SetOwner(self);
    native_->frame->setObjectName(ToQt(Record().FullName()));
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
    if (!open_)
        return; // closed by its own Open handler
    ApplyTabOrder();
    ApplyApplicationShortcuts();
    if (visible_)
        Show();
}

void Window::Show() {
    CheckUIThread();
    if (!open_ || !native_->frame)
        return;
    visible_ = true;
    WindowFrame* frame = native_->frame;
    if (frame->windowState() & Qt::WindowMinimized)
        frame->setWindowState(frame->windowState() & ~Qt::WindowMinimized);
    frame->show();
    frame->raise();
    frame->activateWindow();
}

void Window::ShowModal() {
    CheckUIThread();
    if (!open_ || !native_->frame)
        return;
    auto self = shared_from_this();
    QWidget* frame = native_->frame;
    if (frame->windowModality() != Qt::ApplicationModal) {
        // The toolkit takes a modality only on a hidden window. A window of the modal frame has it from its
        // design, before it is first shown (ApplyFrameFlags); any other that is on the screen already has to
        // leave it first.
        if (frame->isVisible())
            frame->hide();
        frame->setWindowModality(Qt::ApplicationModal);
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
    // A CancelClose handler would be told whether the application quits; windows here have none, so nothing
    // vetoes a close.
    (void)appQuitting;
    CheckUIThread();
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
        child->SetHost(std::static_pointer_cast<Window>(shared_from_this()));
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
    if (open_ && !building_)
        ApplyApplicationShortcuts();
}

namespace {
void CollectEntries(MenuItem& menu, std::vector<QAction*>& actions) {
    for (std::size_t i = 0; i < menu.Count(); ++i) {
        Ref<MenuItem> entry = menu.Item(i);
        if (entry->Count() > 0)
            CollectEntries(*entry, actions);
        else if (!entry->IsSeparator())
            actions.push_back(NativeAction(*entry));
    }
}
} // namespace

// A window without a menu bar of its own (the small ones have no room for one) answers the application
// bar's shortcuts: the bar's actions are added to the window's frame, where the toolkit finds their
// shortcuts while the window is active. The actions are the bar's own, so a choice made here is the same
// choice, and the edit entries act on the focused field of this window.
void Window::ApplyApplicationShortcuts() {
    WindowFrame* frame = native_->frame;
    if (!frame)
        return;
    for (QAction* action : native_->applicationActions)
        if (action)
            frame->removeAction(action);
    native_->applicationActions.clear();
    Ref<Application> application = GetAppObject();
    Ref<Ovelund::MenuBar> bar = application ? application->MenuBar() : nullptr;
    if (menuBar_ || !bar)
        return;
    std::vector<QAction*> actions;
    CollectEntries(*bar, actions);
    for (QAction* action : actions) {
        frame->addAction(action);
        native_->applicationActions.emplace_back(action);
    }
}

void Window::ApplyTabOrder() {
    CheckUIThread();
    if (!open_ || building_ || !native_->content)
        return;
    // The visual controls by the widget that contains them, each container's in TabIndex order.
    std::map<QWidget*, std::vector<RectControl*>> byContainer;
    for (const auto& [name, object] : controls_)
        if (auto* control = dynamic_cast<RectControl*>(object.get()))
            if (QWidget* widget = control->Native().widget)
                byContainer[widget->parentWidget()].push_back(control);
    for (auto& [container, children] : byContainer)
        std::stable_sort(children.begin(), children.end(), [](const RectControl* a, const RectControl* b) {
            return a->TabIndex() < b->TabIndex();
        });
    std::vector<QWidget*> chain;
    auto visit = [&](auto& self, QWidget* container) -> void {
        auto found = byContainer.find(container);
        if (found == byContainer.end())
            return;
        for (RectControl* control : found->second) {
            QWidget* widget = control->Native().widget;
            chain.push_back(widget);
            self(self, widget);
        }
    };
    visit(visit, native_->content.data());
    for (std::size_t i = 1; i < chain.size(); ++i)
        QWidget::setTabOrder(chain[i - 1], chain[i]);
}

Ref<Window> GetImplicitWindow(const String& fullName) {
    for (const auto& window : OpenWindows())
        if (window->Record().FullName() == fullName)
            return window;
    return nullptr;
}

} // namespace Ovelund
