#pragma once
// The base of the editable text controls. AutomaticallyCheckSpelling is kept for the program to read; the
// toolkit has no spelling checker, so it changes nothing on screen.

#include "framework/controls/RectControl.h"

namespace Ovelund {

class TextEdit : public RectControl {
    OVELUND_OBJECT
public:
    bool AutomaticallyCheckSpelling() const { return automaticallyCheckSpelling_; }
    void SetAutomaticallyCheckSpelling(bool value);

private:
    bool automaticallyCheckSpelling_ = false;
};

} // namespace Ovelund
