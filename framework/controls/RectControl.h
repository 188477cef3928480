#pragma once
// A control with a rectangle in its window: position and size in the window's content coordinates (also for
// the children of a container, which InitialParent names), the anchoring locks, enabled and visible state,
// and the text font of the controls that show text.
//
// Geometry: the widget stands where Left, Top, Width and Height say, computed in 64 bits and kept within the
// window's content area: a position at most one content width (height) beyond either edge, a size at most
// the content's. The properties keep the values they were given; only what the toolkit is asked to draw is
// bounded, so no design value can overflow its coordinates or ask for a widget larger than the window.
//
// Fonts: "System" is the platform's default user-interface family and "Helvetica Neue" and "Arial" map to
// the platform's sans-serif family. TextSize is in the window's units (pixels), TextUnit 0; a size of 0 is
// the framework's default size, 13.

#include "framework/controls/Control.h"

#include <memory>

namespace Ovelund {

struct ControlNative;

class RectControl : public Control {
    OVELUND_OBJECT
public:
    // The framework raises none of these; they keep their numbers so that a subclass's own events come after.
    enum Event : int {
        EventConstructContextualMenu = 3,
        EventContextualMenuAction = 4,
        EventDragEnter = 5,
        EventDragExit = 6,
        EventDragOver = 7,
        EventDropObject = 8,
        EventKeyDown = 9,
        EventKeyUp = 10,
        EventMouseDown = 11,
        EventMouseDrag = 12,
        EventMouseEnter = 13,
        EventMouseExit = 14,
    };

    static constexpr float kDefaultTextSize = 13.0f;

    RectControl();
    ~RectControl() override;

    std::int32_t Left() const { return left_; }
    void SetLeft(std::int32_t value);
    std::int32_t Top() const { return top_; }
    void SetTop(std::int32_t value);
    std::int32_t Width() const { return width_; }
    void SetWidth(std::int32_t value);
    std::int32_t Height() const { return height_; }
    void SetHeight(std::int32_t value);

    bool LockLeft() const { return lockLeft_; }
    void SetLockLeft(bool value);
    bool LockTop() const { return lockTop_; }
    void SetLockTop(bool value);
    bool LockRight() const { return lockRight_; }
    void SetLockRight(bool value);
    bool LockBottom() const { return lockBottom_; }
    void SetLockBottom(bool value);

    std::int32_t TabIndex() const { return tabIndex_; }
    // The control's place in its container's Tab order (Window::ApplyTabOrder).
    void SetTabIndex(std::int32_t value);
    // Whether the Tab key stops at the control; False also keeps clicks from focusing it. True gives the
    // control back the focus behaviour of its kind.
    bool TabStop() const { return tabStop_; }
    void SetTabStop(bool value);
    bool Visible() const { return visible_; }
    void SetVisible(bool value);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool value);
    bool AutoDeactivate() const { return autoDeactivate_; }
    void SetAutoDeactivate(bool value);
    const String& HelpTag() const { return helpTag_; }
    void SetHelpTag(const String& value);
    const String& InitialParent() const { return initialParent_; }
    void SetInitialParent(const String& value);

    float TextSize() const { return textSize_; }
    void SetTextSize(float value);
    std::uint8_t TextUnit() const { return textUnit_; }
    void SetTextUnit(std::uint8_t value);
    const String& TextFont() const { return textFont_; }
    void SetTextFont(const String& value);
    bool Bold() const { return bold_; }
    void SetBold(bool value);
    bool Italic() const { return italic_; }
    void SetItalic(bool value);
    bool Underline() const { return underline_; }
    void SetUnderline(bool value);

    // The font properties, which each class that shows text declares: ClassBuilder<Label>(...)
    // .With(&RectControl::FontProperties<Label>).
    template <class T> static void FontProperties(ClassBuilder<T>& builder) {
        builder.Property("TextFont", &RectControl::SetTextFont, &RectControl::TextFont)
            .Property("Bold", &RectControl::SetBold, &RectControl::Bold)
            .Property("Italic", &RectControl::SetItalic, &RectControl::Italic)
            .Property("Underline", &RectControl::SetUnderline, &RectControl::Underline);
    }

    // Redraws the control; with `immediately` at once rather than at the next pass of the event loop.
    void Refresh(bool immediately = false);

    // Framework-internal.
    ControlNative& Native() const { return *native_; }
    // Places the widget again, after the window's content area changed size.
    void UpdateGeometry() { ApplyGeometry(); }

protected:
    void CreateNative() final;
    void DestroyNative() final;
    void NameChanged() override;
    // Creates the control's widget in `native` (its parent widget is set there already).
    virtual void CreateWidget(ControlNative& native) = 0;
    // Applies the control's font to its widget; controls whose widget shows text differently override it.
    virtual void ApplyFont();
    // Called when the control's enabled state changed.
    virtual void EnabledChanged() {}
    // Refresh(true): paints the control's widget before returning. By default the whole widget; a control
    // that knows what changed paints only that.
    virtual void RepaintNow();

private:
    void ApplyGeometry();
    void ApplyParent();
    void ApplyTabStop();
    void TabOrderChanged();

    std::unique_ptr<ControlNative> native_;
    std::int32_t left_ = 0;
    std::int32_t top_ = 0;
    std::int32_t width_ = 80;
    std::int32_t height_ = 20;
    bool lockLeft_ = true;
    bool lockTop_ = true;
    bool lockRight_ = false;
    bool lockBottom_ = false;
    std::int32_t tabIndex_ = 0;
    bool tabStop_ = true;
    bool visible_ = true;
    bool enabled_ = true;
    bool autoDeactivate_ = true;
    String helpTag_;
    String initialParent_;
    float textSize_ = 0.0f;
    std::uint8_t textUnit_ = 0;
    String textFont_ = "System";
    bool bold_ = false;
    bool italic_ = false;
    bool underline_ = false;
};

} // namespace Ovelund
