#include "update/selfTest.h"

#include "app/App.h"
#include "framework/core/ClassRecord.h"
#include "framework/core/SetProperties.h"
#include "framework/windows/WindowPattern.h"
#include "update/selfTestDesign.h"
#include "update/updateWindow.h"

using namespace Ovelund;

const ClassRecord& selfTest::Lookup() {
    static const ClassRecord record = ClassBuilder<selfTest>("selfTest.selfTest", &Window::Lookup())
                                          .Handles(EventCreateControls, &selfTest::CreateControls)
                                          .Handles(EventLayout, &selfTest::Layout)
                                          .Build();
    return record;
}

Ref<selfTest> selfTest::instance() {
    return ImplicitInstance<selfTest>();
}

void selfTest::Layout() {
    SetProperties(*this, selfTestDesign::Window);
}

void selfTest::CreateControls() {
    CreateControls0();
}

void selfTest::CreateControls0() {
    namespace D = selfTestDesign;
    NewControl(*this, Label::Lookup(), "StaticText1");
    DesignControl<Label>(*this, "StaticText1", D::StaticText1, FontInCode::Unit);

    NewControl(*this, Label::Lookup(), "StaticText2");
    DesignControl<Label>(*this, "StaticText2", D::StaticText2, FontInCode::Unit);
    BindEvent(*this, ControlByName("StaticText2"), Control::EventOpen, &selfTest::StaticText2_Open,
              "( Label )");

    NewControl(*this, PushButton::Lookup(), "PushButton1");
    DesignControl<PushButton>(*this, "PushButton1", D::PushButton1, FontInCode::Unit);
    BindEvent(*this, ControlByName("PushButton1"), PushButton::EventAction, &selfTest::PushButton1_Action,
              "( PushButton )");
}

Ref<Label> selfTest::StaticText1() {
    return RuntimeCheckCast<Label>(ControlByName("StaticText1"));
}
Ref<Label> selfTest::StaticText2() {
    return RuntimeCheckCast<Label>(ControlByName("StaticText2"));
}
Ref<PushButton> selfTest::PushButton1() {
    return RuntimeCheckCast<PushButton>(ControlByName("PushButton1"));
}

void selfTest::StaticText2_Open(Ref<Label> sender) {
    CheckNil(sender);
    Ref<App> app = App::instance();
    sender->SetText(CheckNil(app).LongVersion());
}

void selfTest::PushButton1_Action(Ref<PushButton>) {
    // The update window starts its request as it opens; the modal display lasts until it has closed,
    // whatever the check's outcome.
    Ref<updateWindow> update = updateWindow::instance();
    CheckNil(update).ShowModal();
    Ref<selfTest> self = selfTest::instance();
    CheckNil(self).Close();
}
