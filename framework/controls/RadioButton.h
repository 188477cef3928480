#pragma once
// A radio button. The radio buttons of one container (the window, or the group box their InitialParent
// names) exclude each other: turning one on turns the others off. Exclusion applies among the buttons that
// share the container when a button is turned on.
//
// Its Action event is raised when the user clicks it (with the mouse, or with the keyboard while it
// has the focus), also when it was on already; setting Value from the program raises nothing. Value False
// turns the button off even when it is its container's only button that is on. The caption is shown as it
// stands ("&" is no access-key mark).

#include "framework/controls/RectControl.h"

namespace Ovelund {

class RadioButton : public RectControl {
    OVELUND_OBJECT
public:
    enum Event : int { EventAction = 15 };

    const String& Caption() const { return caption_; }
    void SetCaption(const String& value);
    bool Value() const { return value_; }
    void SetValue(bool value);

protected:
    void CreateWidget(ControlNative& native) override;

private:
    void ApplyCaption();
    void ApplyValue();

    String caption_;
    bool value_ = false; // follows the widget, also when the user or exclusion changes it
};

} // namespace Ovelund
