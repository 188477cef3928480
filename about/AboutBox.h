#pragma once
// The about window: the product name, the running version, the credits, the icon credit, and three buttons
// that each hand one fixed address to the platform. No button closes it; "Support Dravik" is the default.

#include "framework/controls/Label.h"
#include "framework/controls/PushButton.h"
#include "framework/windows/Window.h"

class AboutBox : public Ovelund::Window {
    OVELUND_OBJECT
public:
    static Ovelund::Ref<AboutBox> instance();

    void Layout();
    void CreateControls();
    void CreateControls0();

    Ovelund::Ref<Ovelund::PushButton> PushButton1();
    Ovelund::Ref<Ovelund::PushButton> PushButton2();
    Ovelund::Ref<Ovelund::Label> StaticText2();
    Ovelund::Ref<Ovelund::Label> StaticText1();
    Ovelund::Ref<Ovelund::Label> StaticText3();
    Ovelund::Ref<Ovelund::Label> StaticText4();
    Ovelund::Ref<Ovelund::PushButton> Kagi();
    Ovelund::Ref<Ovelund::Label> Label1();

    void PushButton1_Action(Ovelund::Ref<Ovelund::PushButton> sender);
    void PushButton2_Action(Ovelund::Ref<Ovelund::PushButton> sender);
    void StaticText4_Open(Ovelund::Ref<Ovelund::Label> sender);
    void Kagi_Action(Ovelund::Ref<Ovelund::PushButton> sender);
};
