#pragma once
// A push button. Its Action event is raised when the button is clicked, by the mouse, by the keyboard
// while it has the focus, or through the window's Return and Escape keys:
//
// - Return or Enter in the window presses its default button, unless the focused control takes the key
//   itself (a focused button presses itself). A window may hold several buttons whose Default is True: the
//   key presses the one most recently made default that is enabled and visible; when none is, the key does
//   nothing. A default button is drawn as the platform draws default buttons.
// - Escape presses the window's cancel button (Cancel True) by the same rule.
// - Held keys that repeat do not press again.
//
// Captions are shown as they stand: "&" is no access-key mark. ButtonStyle is kept; every style draws as the
// platform's push button.

#include "framework/controls/RectControl.h"

namespace Ovelund {

class PushButton : public RectControl {
    OVELUND_OBJECT
public:
    enum Event : int { EventAction = 15 };

    const String& Caption() const { return caption_; }
    void SetCaption(const String& value);
    bool Default() const { return default_; }
    void SetDefault(bool value);
    bool Cancel() const { return cancel_; }
    void SetCancel(bool value);
    std::int32_t ButtonStyle() const { return buttonStyle_; }
    void SetButtonStyle(std::int32_t value);

protected:
    void CreateWidget(ControlNative& native) override;

private:
    void ApplyCaption();
    // Applies Default (role 0) or Cancel (role 1) to the widget and the window's keys.
    void ApplyRole(int role);

    String caption_;
    bool default_ = false;
    bool cancel_ = false;
    std::int32_t buttonStyle_ = 0;
};

} // namespace Ovelund
