#pragma once
// A titled frame around other controls: the controls whose InitialParent names the group box become its
// children, placed at their window positions, and are disabled and hidden with it. The caption is shown as
// it stands ("&" is no access-key mark).

#include "framework/controls/RectControl.h"

namespace Ovelund {

class GroupBox : public RectControl {
    OVELUND_OBJECT
public:
    const String& Caption() const { return caption_; }
    void SetCaption(const String& value);

protected:
    void CreateWidget(ControlNative& native) override;

private:
    void ApplyCaption();

    String caption_;
};

} // namespace Ovelund
