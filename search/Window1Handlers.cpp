// The main window's handlers: they move the window between Idle, Searching and Stopping, and hand each timer
// tick to the search step of its mode.

#include "framework/runtime/EventLoop.h"
#include "search/Module1.h"
#include "search/Window1.h"

using namespace Ovelund;

void Window1::Event_Open() {
    CheckNil(Start()).SetEnabled(true);
    CheckNil(Start()).SetDefault(true);
    CheckNil(StaticText2()).SetText("Start At:");
    CheckNil(StaticText1()).SetText("# Primes:");
    CheckNil(RadioButton1()).SetValue(true);
}

void Window1::Event_Close() {
    Quit(0);
}

void Window1::ListBox1_Open(Ref<Listbox>) {
    CheckNil(ListBox1()).SetColumnAlignment(0, ColumnAlignment::Center);
    CheckNil(ListBox1()).SetColumnAlignment(1, ColumnAlignment::Center);
    CheckNil(ListBox1()).SetColumnAlignment(2, ColumnAlignment::Center);
}

void Window1::EditField2_Open(Ref<TextField> sender) {
    CheckNil(sender).SetSelStart(1);
}

void Window1::RadioButton1_Action(Ref<RadioButton>) {
    CheckNil(StaticText2()).SetText("Start At:");
    CheckNil(StaticText1()).SetText("# Primes:");
}

void Window1::RadioButton2_Action(Ref<RadioButton>) {
    CheckNil(StaticText2()).SetText("Start At:");
    CheckNil(StaticText1()).SetText("Stop At:");
}

void Window1::EditField1_TextChange(Ref<TextField>) {
    CheckNil(ListBox1()).DeleteAllRows();
    CheckNil(ListBox1()).Refresh(true);
}

void Window1::EditField2_TextChange(Ref<TextField>) {
    CheckNil(ListBox1()).DeleteAllRows();
    CheckNil(ListBox1()).Refresh(true);
}

void Window1::Start_Action(Ref<PushButton>) {
    const bool modeA = CheckNil(RadioButton1()).Value();
    Module1::StartAt = CheckNil(EditField2()).Text();
    Module1::StopAt = CheckNil(EditField1()).Text();
    CheckNil(EditField1()).SetEnabled(false);
    CheckNil(EditField2()).SetEnabled(false);
    CheckNil(Start()).SetEnabled(false);
    CheckNil(Stop()).SetEnabled(true);
    CheckNil(Stop()).SetDefault(true);
    CheckNil(GroupBox1()).SetEnabled(false);
    CheckNil(StaticText5()).SetEnabled(false);
    CheckNil(StaticText6()).SetEnabled(false);
    CheckNil(ListBox1()).DeleteAllRows();
    CheckNil(ListBox1()).Refresh(true);
    if (modeA)
        CheckNil(ModeATimer()).SetMode(Timer::ModeMultiple);
    else
        CheckNil(ModeBTimer()).SetMode(Timer::ModeMultiple);
}

void Window1::Stop_Action(Ref<PushButton>) {
    Module1::StopFlag = true;
    CheckNil(Stop()).SetEnabled(false);
    CheckNil(Warning()).SetVisible(false);
    CheckNil(EditField1()).SetEnabled(true);
    CheckNil(EditField2()).SetEnabled(true);
    CheckNil(Start()).SetEnabled(true);
}

void Window1::ModeATimer_Action(Ref<Timer>) {
    if (!Module1::Busy)
        goModeA();
}

void Window1::ModeBTimer_Action(Ref<Timer>) {
    if (!Module1::Busy)
        goModeB();
}
