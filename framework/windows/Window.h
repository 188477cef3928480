#pragma once
// A window: a top-level frame with the window's menu bar above a content area of the designed size, in which
// controls stand at absolute positions. A window class enters its handlers of the window events in its class
// record; Constructor() builds the window: CreateControls, Layout, the controls' Open events, then the
// window's Open, and shows it when its design makes it visible.

#include "framework/controls/ControlHost.h"
#include "framework/core/ClassRecord.h"
#include "framework/core/Color.h"
#include "framework/core/Object.h"
#include "framework/core/String.h"

#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

namespace Ovelund {

class MenuBar;
struct WindowNative;

class Window : public Object, public ControlHost {
    OVELUND_OBJECT
public:
    // The window events. The framework raises CreateControls, Layout and Open while it builds a window and
    // Close when it closes; the others it never raises.
    enum Event : int {
        EventActivate = 0,
        EventAddMenuHandlers = 1,
        EventCancelClose = 2,
        EventClose = 3,
        EventConstructContextualMenu = 4,
        EventContentsChanged = 5,
        EventContextualMenuAction = 6,
        EventCreateControls = 7,
        EventDeactivate = 8,
        EventDragEnter = 9,
        EventDragExit = 10,
        EventDragOver = 11,
        EventDropObject = 12,
        EventEnableMenuItems = 13,
        EventKeyDown = 14,
        EventKeyUp = 15,
        EventLayout = 16,
        EventMaximize = 17,
        EventMinimize = 18,
        EventMouseDown = 19,
        EventMouseDrag = 20,
        EventMouseEnter = 21,
        EventMouseExit = 22,
        EventMouseMove = 23,
        EventMouseUp = 24,
        EventMouseWheel = 25,
        EventMoved = 26,
        EventOpen = 27,
        EventPaint = 28,
        EventResized = 29,
        EventResizing = 30,
        EventRestore = 31,
        EventSetupBindings = 32,
    };

    Window();
    ~Window() override;

    // The framework's default window construction.
    void Constructor();

    // Shows the window, restored if it was minimised, in front of the others and active.
    void Show();
    // Shows the window modally and returns once it has closed.
    void ShowModal();
    void Hide();
    void Close();
    // The closing step shared by Close, the close box and quitting.
    void UnifiedClose(bool appQuitting);
    bool IsOpen() const { return open_; }

    void AddControl(const String& name, const Ref<Object>& control);
    // The control registered under `name`, or nil.
    Ref<Object> ControlByName(const String& name) const override;
    // A new object of the class, belonging to this window and not yet constructed.
    Ref<Object> New(const ClassRecord& record);

    // The window's own menu bar, shown above its content. A window without one answers the shortcuts of the
    // application's menu bar instead, and draws no bar.
    Ref<Ovelund::MenuBar> MenuBar() const { return menuBar_; }
    void SetMenuBar(const Ref<Ovelund::MenuBar>& menuBar);

    // Orders the Tab key's way through the controls: within each container (the window, a group box) by
    // TabIndex, ties in creation order, each container's children right after the container; controls whose
    // TabStop is False are passed over. Applied once the window is built, and again when a control's
    // TabIndex, TabStop or container changes.
    void ApplyTabOrder() override;

    // Design properties.
    std::int32_t Placement() const { return placement_; }
    void SetPlacement(std::int32_t value);
    std::int32_t Width() const { return width_; }
    void SetWidth(std::int32_t value);
    std::int32_t Height() const { return height_; }
    void SetHeight(std::int32_t value);
    std::int32_t MinWidth() const { return minWidth_; }
    void SetMinWidth(std::int32_t value);
    std::int32_t MinHeight() const { return minHeight_; }
    void SetMinHeight(std::int32_t value);
    std::int32_t MaxWidth() const { return maxWidth_; }
    void SetMaxWidth(std::int32_t value);
    std::int32_t MaxHeight() const { return maxHeight_; }
    void SetMaxHeight(std::int32_t value);
    // The frame's kind: kModalFrame makes a dialog that is application-modal whenever it shows, from its
    // first show on; any other value a plain window.
    static constexpr std::int32_t kModalFrame = 1;
    std::int32_t Frame() const { return frame_; }
    void SetFrame(std::int32_t value);
    std::int32_t MacProcId() const { return macProcId_; }
    void SetMacProcId(std::int32_t value);
    bool Composite() const { return composite_; }
    void SetComposite(bool value);
    bool HasBackColor() const { return hasBackColor_; }
    void SetHasBackColor(bool value);
    Color BackColor() const { return backColor_; }
    void SetBackColor(Color value);
    const String& Title() const { return title_; }
    void SetTitle(const String& value);
    bool Visible() const { return visible_; }
    void SetVisible(bool value);
    bool FullScreen() const { return fullScreen_; }
    void SetFullScreen(bool value);
    bool MenuBarVisible() const { return menuBarVisible_; }
    void SetMenuBarVisible(bool value);
    bool CloseButton() const { return closeButton_; }
    void SetCloseButton(bool value);
    bool Resizeable() const { return resizeable_; }
    void SetResizeable(bool value);
    bool LiveResize() const { return liveResize_; }
    void SetLiveResize(bool value);
    bool MaximizeButton() const { return maximizeButton_; }
    void SetMaximizeButton(bool value);
    bool MinimizeButton() const { return minimizeButton_; }
    void SetMinimizeButton(bool value);
    bool FullScreenButton() const { return fullScreenButton_; }
    void SetFullScreenButton(bool value);

    // Framework-internal.
    WindowNative& Native() const override { return *native_; }
    // The largest content area the window can have: its designed size, or for a resizeable window its
    // maximum size; never beyond kLargestContent (ControlHost.h) in either direction. Controls are kept
    // within it.
    ContentSize ContentLimit() const override;

private:
    void RaiseWindowEvent(int number);
    void ApplyFrameFlags();
    void ApplyGeometry();
    void ApplyApplicationShortcuts();

    std::unique_ptr<WindowNative> native_;
    std::vector<std::pair<String, Ref<Object>>> controls_;
    Ref<Ovelund::MenuBar> menuBar_;
    bool open_ = false;
    bool building_ = false;
    bool closing_ = false;

    std::int32_t placement_ = 0;
    std::int32_t width_ = 300;
    std::int32_t height_ = 300;
    std::int32_t minWidth_ = 64;
    std::int32_t minHeight_ = 64;
    std::int32_t maxWidth_ = 32000;
    std::int32_t maxHeight_ = 32000;
    std::int32_t frame_ = 0;
    std::int32_t macProcId_ = 0;
    bool composite_ = false;
    bool hasBackColor_ = false;
    Color backColor_{255, 255, 255};
    String title_;
    bool visible_ = true;
    bool fullScreen_ = false;
    bool menuBarVisible_ = true;
    bool closeButton_ = true;
    bool resizeable_ = true;
    bool liveResize_ = true;
    bool maximizeButton_ = true;
    bool minimizeButton_ = true;
    bool fullScreenButton_ = false;
};

// The open instance kept under a window class's full name, or nil.
Ref<Window> GetImplicitWindow(const String& fullName);

} // namespace Ovelund
