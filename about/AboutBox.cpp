#include "about/AboutBox.h"

#include "about/AboutBoxDesign.h"
#include "app/App.h"
#include "app/WebAddresses.h"
#include "framework/core/ClassRecord.h"
#include "framework/core/SetProperties.h"
#include "framework/runtime/Platform.h"
#include "framework/windows/WindowPattern.h"

using namespace Ovelund;

const ClassRecord& AboutBox::Lookup() {
    static const ClassRecord record = ClassBuilder<AboutBox>("AboutBox.AboutBox", &Window::Lookup())
                                          .Handles(EventCreateControls, &AboutBox::CreateControls)
                                          .Handles(EventLayout, &AboutBox::Layout)
                                          .Build();
    return record;
}

Ref<AboutBox> AboutBox::instance() {
    return ImplicitInstance<AboutBox>();
}

void AboutBox::Layout() {
    SetProperties(*this, AboutBoxDesign::Window);
}

void AboutBox::CreateControls() {
    CreateControls0();
}

void AboutBox::CreateControls0() {
    namespace D = AboutBoxDesign;
    NewControl(*this, PushButton::Lookup(), "PushButton1");
    DesignControl<PushButton>(*this, "PushButton1", D::PushButton1, FontInCode::Unit);
    BindEvent(*this, ControlByName("PushButton1"), PushButton::EventAction, &AboutBox::PushButton1_Action,
              "( PushButton )");

    NewControl(*this, PushButton::Lookup(), "PushButton2");
    DesignControl<PushButton>(*this, "PushButton2", D::PushButton2, FontInCode::Unit);
    BindEvent(*this, ControlByName("PushButton2"), PushButton::EventAction, &AboutBox::PushButton2_Action,
              "( PushButton )");

    NewControl(*this, Label::Lookup(), "StaticText2");
    DesignControl<Label>(*this, "StaticText2", D::StaticText2, FontInCode::Unit);

    NewControl(*this, Label::Lookup(), "StaticText1");
    DesignControl<Label>(*this, "StaticText1", D::StaticText1, FontInCode::UnitThenSize, 18.0f);

    NewControl(*this, Label::Lookup(), "StaticText3");
    DesignControl<Label>(*this, "StaticText3", D::StaticText3, FontInCode::UnitThenSize, 12.0f);

    NewControl(*this, Label::Lookup(), "StaticText4");
    DesignControl<Label>(*this, "StaticText4", D::StaticText4, FontInCode::UnitThenSize, 12.0f);
    BindEvent(*this, ControlByName("StaticText4"), Control::EventOpen, &AboutBox::StaticText4_Open,
              "( Label )");

    NewControl(*this, PushButton::Lookup(), "Kagi");
    DesignControl<PushButton>(*this, "Kagi", D::Kagi, FontInCode::Unit);
    BindEvent(*this, ControlByName("Kagi"), PushButton::EventAction, &AboutBox::Kagi_Action,
              "( PushButton )");

    NewControl(*this, Label::Lookup(), "Label1");
    DesignControl<Label>(*this, "Label1", D::Label1, FontInCode::Unit);
}

Ref<PushButton> AboutBox::PushButton1() {
    return RuntimeCheckCast<PushButton>(ControlByName("PushButton1"));
}
Ref<PushButton> AboutBox::PushButton2() {
    return RuntimeCheckCast<PushButton>(ControlByName("PushButton2"));
}
Ref<Label> AboutBox::StaticText2() {
    return RuntimeCheckCast<Label>(ControlByName("StaticText2"));
}
Ref<Label> AboutBox::StaticText1() {
    return RuntimeCheckCast<Label>(ControlByName("StaticText1"));
}
Ref<Label> AboutBox::StaticText3() {
    return RuntimeCheckCast<Label>(ControlByName("StaticText3"));
}
Ref<Label> AboutBox::StaticText4() {
    return RuntimeCheckCast<Label>(ControlByName("StaticText4"));
}
Ref<PushButton> AboutBox::Kagi() {
    return RuntimeCheckCast<PushButton>(ControlByName("Kagi"));
}
Ref<Label> AboutBox::Label1() {
    return RuntimeCheckCast<Label>(ControlByName("Label1"));
}

void AboutBox::PushButton1_Action(Ref<PushButton>) {
    ShowURL(WebAddresses::AuthorMail);
}

void AboutBox::PushButton2_Action(Ref<PushButton>) {
    ShowURL(WebAddresses::MakerWebSiteBareHost);
}

void AboutBox::Kagi_Action(Ref<PushButton>) {
    ShowURL(WebAddresses::OrderPage);
}

void AboutBox::StaticText4_Open(Ref<Label> sender) {
    CheckNil(sender);
    Ref<App> app = App::instance();
    sender->SetText(CheckNil(app).LongVersion());
}
