#include "update/updateWindow.h"

#include "app/WebAddresses.h"
#include "framework/core/ClassRecord.h"
#include "framework/core/SetProperties.h"
#include "framework/runtime/UIThread.h"
#include "framework/windows/WindowPattern.h"
#include "update/updateWindowDesign.h"

using namespace Ovelund;

const ClassRecord& updateWindowHp::Lookup() {
    static const ClassRecord record = ClassBuilder<updateWindowHp>("updateWindow.hp", &HTTPSocket::Lookup())
                                          .Property("Index", &PaneChild::SetIndex, &PaneChild::Index)
                                          .Build();
    return record;
}

const ClassRecord& updateWindow::Lookup() {
    static const ClassRecord record =
        ClassBuilder<updateWindow>("updateWindow.updateWindow", &Window::Lookup())
            .Handles(EventCreateControls, &updateWindow::CreateControls)
            .Handles(EventLayout, &updateWindow::Layout)
            .Handles(EventOpen, &updateWindow::Event_Open)
            .Property("automaticCheck", &updateWindow::SetAutomaticCheck, &updateWindow::automaticCheck)
            .Build();
    return record;
}

Ref<updateWindow> updateWindow::instance() {
    return ImplicitInstance<updateWindow>();
}

void updateWindow::SetAutomaticCheck(bool value) {
    CheckUIThread();
    automaticCheck_ = value;
}

void updateWindow::Layout() {
    SetProperties(*this, updateWindowDesign::Window);
}

void updateWindow::CreateControls() {
    CreateControls0();
}

void updateWindow::CreateControls0() {
    namespace D = updateWindowDesign;
    NewControl(*this, Label::Lookup(), "StaticText1");
    DesignControl<Label>(*this, "StaticText1", D::StaticText1, FontInCode::Unit);

    NewControl(*this, ProgressBar::Lookup(), "ProgressBar1");
    DesignControl<ProgressBar>(*this, "ProgressBar1", D::ProgressBar1);

    NewControl(*this, updateWindowHp::Lookup(), "hp");
    DesignControl<HTTPSocket>(*this, "hp", D::hp);
    BindEvent(*this, ControlByName("hp"), HTTPSocket::EventPageReceived, &updateWindow::hp_PageReceived,
              "( HTTPSocket, String, Int32, InternetHeaders, String )");
    BindEvent(*this, ControlByName("hp"), HTTPSocket::EventError, &updateWindow::hp_Error,
              "( HTTPSocket, Int32 )");

    NewControl(*this, PushButton::Lookup(), "PushButton1");
    DesignControl<PushButton>(*this, "PushButton1", D::PushButton1, FontInCode::Unit);
    BindEvent(*this, ControlByName("PushButton1"), PushButton::EventAction, &updateWindow::PushButton1_Action,
              "( PushButton )");
}

Ref<Label> updateWindow::StaticText1() {
    return RuntimeCheckCast<Label>(ControlByName("StaticText1"));
}
Ref<ProgressBar> updateWindow::ProgressBar1() {
    return RuntimeCheckCast<ProgressBar>(ControlByName("ProgressBar1"));
}
Ref<HTTPSocket> updateWindow::hp() {
    return RuntimeCheckCast<HTTPSocket>(ControlByName("hp"));
}
Ref<PushButton> updateWindow::PushButton1() {
    return RuntimeCheckCast<PushButton>(ControlByName("PushButton1"));
}

void updateWindow::Event_Open() {
    // A busy bar while the request runs: its maximum 0 shows activity without a value.
    Ref<ProgressBar> bar = ProgressBar1();
    CheckNil(bar).SetMaximum(0);
    Ref<HTTPSocket> client = hp();
    CheckNil(client).Get(WebAddresses::UpdateDocumentURL);
}

void updateWindow::PushButton1_Action(Ref<PushButton>) {
    // Closing drops hp, which abandons a request still running.
    Close();
}
