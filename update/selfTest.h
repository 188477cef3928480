#pragma once
// The "Self Test" window: the running version and the "Check for Updates" button, which runs one update
// check in the update window and closes this window once that check is over.

#include "framework/controls/Label.h"
#include "framework/controls/PushButton.h"
#include "framework/windows/Window.h"

class selfTest : public Ovelund::Window {
    OVELUND_OBJECT
public:
    // The open self-test window, or a new one.
    static Ovelund::Ref<selfTest> instance();

    void Layout();
    void CreateControls();
    void CreateControls0();

    // Control accessors: the control registered under the name, or nil.
    Ovelund::Ref<Ovelund::Label> StaticText1();
    Ovelund::Ref<Ovelund::Label> StaticText2();
    Ovelund::Ref<Ovelund::PushButton> PushButton1();

    // Control handlers.
    void StaticText2_Open(Ovelund::Ref<Ovelund::Label> sender);
    void PushButton1_Action(Ovelund::Ref<Ovelund::PushButton> sender);
};
