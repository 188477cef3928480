#include "search/Window1.h"

#include "app/MenuBar1.h"
#include "framework/core/ClassRecord.h"
#include "framework/core/SetProperties.h"
#include "framework/windows/WindowPattern.h"
#include "search/Window1Design.h"

using namespace Ovelund;

const ClassRecord& Window1ModeATimer::Lookup() {
    static const ClassRecord record = ClassBuilder<Window1ModeATimer>("Window1.ModeATimer", &Timer::Lookup())
                                          .Property("Index", &PaneChild::SetIndex, &PaneChild::Index)
                                          .Build();
    return record;
}

const ClassRecord& Window1ModeBTimer::Lookup() {
    static const ClassRecord record = ClassBuilder<Window1ModeBTimer>("Window1.ModeBTimer", &Timer::Lookup())
                                          .Property("Index", &PaneChild::SetIndex, &PaneChild::Index)
                                          .Build();
    return record;
}

const ClassRecord& Window1::Lookup() {
    static const ClassRecord record = ClassBuilder<Window1>("Window1.Window1", &Window::Lookup())
                                          .Handles(EventClose, &Window1::Event_Close)
                                          .Handles(EventCreateControls, &Window1::CreateControls)
                                          .Handles(EventLayout, &Window1::Layout)
                                          .Handles(EventOpen, &Window1::Event_Open)
                                          .Build();
    return record;
}

Ref<Window1> Window1::instance() {
    return ImplicitInstance<Window1>();
}

void Window1::Layout() {
    SetMenuBar(MenuBar1::instance());
    SetProperties(*this, Window1Design::Window);
}

void Window1::CreateControls() {
    CreateControls0();
}

void Window1::CreateControls0() {
    namespace D = Window1Design;
    NewControl(*this, Listbox::Lookup(), "ListBox1");
    DesignControl<Listbox>(*this, "ListBox1", D::ListBox1, FontInCode::SizeThenUnit, 12.0f);
    BindEvent(*this, ControlByName("ListBox1"), Control::EventOpen, &Window1::ListBox1_Open, "( Listbox )");

    NewControl(*this, PushButton::Lookup(), "Start");
    DesignControl<PushButton>(*this, "Start", D::Start, FontInCode::SizeThenUnit, 12.0f);
    BindEvent(*this, ControlByName("Start"), PushButton::EventAction, &Window1::Start_Action,
              "( PushButton )");

    NewControl(*this, TextField::Lookup(), "EditField1");
    DesignControl<TextField>(*this, "EditField1", D::EditField1, FontInCode::SizeThenUnit, 12.0f);
    BindEvent(*this, ControlByName("EditField1"), TextField::EventTextChange, &Window1::EditField1_TextChange,
              "( TextField )");

    NewControl(*this, Label::Lookup(), "StaticText1");
    DesignControl<Label>(*this, "StaticText1", D::StaticText1, FontInCode::SizeThenUnit, 12.0f);

    NewControl(*this, Label::Lookup(), "StaticText2");
    DesignControl<Label>(*this, "StaticText2", D::StaticText2, FontInCode::SizeThenUnit, 12.0f);

    NewControl(*this, TextField::Lookup(), "EditField2");
    DesignControl<TextField>(*this, "EditField2", D::EditField2, FontInCode::SizeThenUnit, 12.0f);
    BindEvent(*this, ControlByName("EditField2"), TextField::EventTextChange, &Window1::EditField2_TextChange,
              "( TextField )");
    BindEvent(*this, ControlByName("EditField2"), Control::EventOpen, &Window1::EditField2_Open,
              "( TextField )");

    NewControl(*this, GroupBox::Lookup(), "GroupBox1");
    DesignControl<GroupBox>(*this, "GroupBox1", D::GroupBox1, FontInCode::SizeThenUnit, 12.0f);

    NewControl(*this, RadioButton::Lookup(), "RadioButton1");
    DesignControl<RadioButton>(*this, "RadioButton1", D::RadioButton1, FontInCode::SizeThenUnit, 12.0f);
    BindEvent(*this, ControlByName("RadioButton1"), RadioButton::EventAction, &Window1::RadioButton1_Action,
              "( RadioButton )");

    NewControl(*this, RadioButton::Lookup(), "RadioButton2");
    DesignControl<RadioButton>(*this, "RadioButton2", D::RadioButton2, FontInCode::SizeThenUnit, 12.0f);
    BindEvent(*this, ControlByName("RadioButton2"), RadioButton::EventAction, &Window1::RadioButton2_Action,
              "( RadioButton )");

    NewControl(*this, Label::Lookup(), "StaticText5");
    DesignControl<Label>(*this, "StaticText5", D::StaticText5, FontInCode::SizeThenUnit, 12.0f);

    NewControl(*this, Label::Lookup(), "StaticText6");
    DesignControl<Label>(*this, "StaticText6", D::StaticText6, FontInCode::SizeThenUnit, 12.0f);

    NewControl(*this, Label::Lookup(), "StaticText7");
    DesignControl<Label>(*this, "StaticText7", D::StaticText7, FontInCode::Unit);

    NewControl(*this, PushButton::Lookup(), "Stop");
    DesignControl<PushButton>(*this, "Stop", D::Stop, FontInCode::Unit);
    BindEvent(*this, ControlByName("Stop"), PushButton::EventAction, &Window1::Stop_Action, "( PushButton )");

    NewControl(*this, Label::Lookup(), "StaticText8");
    DesignControl<Label>(*this, "StaticText8", D::StaticText8, FontInCode::Unit);

    NewControl(*this, Label::Lookup(), "StaticText9");
    DesignControl<Label>(*this, "StaticText9", D::StaticText9, FontInCode::Unit);

    NewControl(*this, Label::Lookup(), "StaticText91");
    DesignControl<Label>(*this, "StaticText91", D::StaticText91, FontInCode::Unit);

    NewControl(*this, Window1ModeATimer::Lookup(), "ModeATimer");
    DesignControl<Timer>(*this, "ModeATimer", D::Timer);
    BindEvent(*this, ControlByName("ModeATimer"), Timer::EventAction, &Window1::ModeATimer_Action,
              "( Timer )");

    NewControl(*this, Window1ModeBTimer::Lookup(), "ModeBTimer");
    DesignControl<Timer>(*this, "ModeBTimer", D::Timer);
    BindEvent(*this, ControlByName("ModeBTimer"), Timer::EventAction, &Window1::ModeBTimer_Action,
              "( Timer )");

    NewControl(*this, Label::Lookup(), "Warning");
    DesignControl<Label>(*this, "Warning", D::Warning, FontInCode::Unit);
}

Ref<Listbox> Window1::ListBox1() {
    return RuntimeCheckCast<Listbox>(ControlByName("ListBox1"));
}
Ref<PushButton> Window1::Start() {
    return RuntimeCheckCast<PushButton>(ControlByName("Start"));
}
Ref<TextField> Window1::EditField1() {
    return RuntimeCheckCast<TextField>(ControlByName("EditField1"));
}
Ref<Label> Window1::StaticText1() {
    return RuntimeCheckCast<Label>(ControlByName("StaticText1"));
}
Ref<Label> Window1::StaticText2() {
    return RuntimeCheckCast<Label>(ControlByName("StaticText2"));
}
Ref<TextField> Window1::EditField2() {
    return RuntimeCheckCast<TextField>(ControlByName("EditField2"));
}
Ref<GroupBox> Window1::GroupBox1() {
    return RuntimeCheckCast<GroupBox>(ControlByName("GroupBox1"));
}
Ref<RadioButton> Window1::RadioButton1() {
    return RuntimeCheckCast<RadioButton>(ControlByName("RadioButton1"));
}
Ref<RadioButton> Window1::RadioButton2() {
    return RuntimeCheckCast<RadioButton>(ControlByName("RadioButton2"));
}
Ref<Label> Window1::StaticText5() {
    return RuntimeCheckCast<Label>(ControlByName("StaticText5"));
}
Ref<Label> Window1::StaticText6() {
    return RuntimeCheckCast<Label>(ControlByName("StaticText6"));
}
Ref<Label> Window1::StaticText7() {
    return RuntimeCheckCast<Label>(ControlByName("StaticText7"));
}
Ref<PushButton> Window1::Stop() {
    return RuntimeCheckCast<PushButton>(ControlByName("Stop"));
}
Ref<Label> Window1::StaticText8() {
    return RuntimeCheckCast<Label>(ControlByName("StaticText8"));
}
Ref<Label> Window1::StaticText9() {
    return RuntimeCheckCast<Label>(ControlByName("StaticText9"));
}
Ref<Label> Window1::StaticText91() {
    return RuntimeCheckCast<Label>(ControlByName("StaticText91"));
}
Ref<Timer> Window1::ModeATimer() {
    return RuntimeCheckCast<Timer>(ControlByName("ModeATimer"));
}
Ref<Timer> Window1::ModeBTimer() {
    return RuntimeCheckCast<Timer>(ControlByName("ModeBTimer"));
}
Ref<Label> Window1::Warning() {
    return RuntimeCheckCast<Label>(ControlByName("Warning"));
}

template <class T> Ref<T> Window1::menuEntry(const char* name) {
    Ref<Ovelund::MenuBar> bar = MenuBar();
    return RuntimeCheckCast<T>(CheckNil(bar).FindItem(name));
}

Ref<AppleMenuItem> Window1::CheckforUpdateMenu() {
    return menuEntry<AppleMenuItem>("CheckforUpdateMenu");
}
Ref<AppleMenuItem> Window1::AppleAbout() {
    return menuEntry<AppleMenuItem>("AppleAbout");
}
Ref<MenuItem> Window1::CheckforUpdateCheckNow() {
    return menuEntry<MenuItem>("CheckforUpdateCheckNow");
}
Ref<MenuItem> Window1::EditMenu() {
    return menuEntry<MenuItem>("EditMenu");
}
Ref<MenuItem> Window1::EditClear() {
    return menuEntry<MenuItem>("EditClear");
}
Ref<MenuItem> Window1::EditPaste() {
    return menuEntry<MenuItem>("EditPaste");
}
Ref<MenuItem> Window1::EditCopy() {
    return menuEntry<MenuItem>("EditCopy");
}
Ref<MenuItem> Window1::EditCut() {
    return menuEntry<MenuItem>("EditCut");
}
Ref<MenuItem> Window1::UntitledMenu0() {
    return menuEntry<MenuItem>("UntitledMenu0");
}
Ref<MenuItem> Window1::EditUndo() {
    return menuEntry<MenuItem>("EditUndo");
}
Ref<MenuItem> Window1::FileMenu() {
    return menuEntry<MenuItem>("FileMenu");
}
Ref<QuitMenuItem> Window1::FileQuit() {
    return menuEntry<QuitMenuItem>("FileQuit");
}
