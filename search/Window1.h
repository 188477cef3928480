#pragma once
// The main window: the mode choice, the two number fields, "Start" and "Stop", and the list of primes that
// the search steps fill, one prime per tick of the mode's timer.

#include "framework/application/MenuItem.h"
#include "framework/controls/GroupBox.h"
#include "framework/controls/Label.h"
#include "framework/controls/Listbox.h"
#include "framework/controls/PaneChild.h"
#include "framework/controls/PushButton.h"
#include "framework/controls/RadioButton.h"
#include "framework/controls/TextField.h"
#include "framework/controls/Timer.h"
#include "framework/windows/Window.h"

#include <cstdint>

// The class of the window's Mode A clock, "Window1.ModeATimer": a Timer the window holds as a control.
class Window1ModeATimer : public Ovelund::Timer, public Ovelund::PaneChild {
    OVELUND_OBJECT
public:
    void Constructor() override {}
};

// The class of the window's Mode B clock, "Window1.ModeBTimer".
class Window1ModeBTimer : public Ovelund::Timer, public Ovelund::PaneChild {
    OVELUND_OBJECT
public:
    void Constructor() override {}
};

class Window1 : public Ovelund::Window {
    OVELUND_OBJECT
public:
    // The open main window, or a new one.
    static Ovelund::Ref<Window1> instance();

    void Layout();
    void CreateControls();
    void CreateControls0();

    // Control accessors: the control registered under the name, or nil.
    Ovelund::Ref<Ovelund::Listbox> ListBox1();
    Ovelund::Ref<Ovelund::PushButton> Start();
    Ovelund::Ref<Ovelund::TextField> EditField1();
    Ovelund::Ref<Ovelund::Label> StaticText1();
    Ovelund::Ref<Ovelund::Label> StaticText2();
    Ovelund::Ref<Ovelund::TextField> EditField2();
    Ovelund::Ref<Ovelund::GroupBox> GroupBox1();
    Ovelund::Ref<Ovelund::RadioButton> RadioButton1();
    Ovelund::Ref<Ovelund::RadioButton> RadioButton2();
    Ovelund::Ref<Ovelund::Label> StaticText5();
    Ovelund::Ref<Ovelund::Label> StaticText6();
    Ovelund::Ref<Ovelund::Label> StaticText7();
    Ovelund::Ref<Ovelund::PushButton> Stop();
    Ovelund::Ref<Ovelund::Label> StaticText8();
    Ovelund::Ref<Ovelund::Label> StaticText9();
    Ovelund::Ref<Ovelund::Label> StaticText91();
    Ovelund::Ref<Ovelund::Timer> ModeATimer();
    Ovelund::Ref<Ovelund::Timer> ModeBTimer();
    Ovelund::Ref<Ovelund::Label> Warning();

    // Control handlers.
    void ListBox1_Open(Ovelund::Ref<Ovelund::Listbox> sender);
    void Start_Action(Ovelund::Ref<Ovelund::PushButton> sender);
    void EditField1_TextChange(Ovelund::Ref<Ovelund::TextField> sender);
    void EditField2_TextChange(Ovelund::Ref<Ovelund::TextField> sender);
    void EditField2_Open(Ovelund::Ref<Ovelund::TextField> sender);
    void RadioButton1_Action(Ovelund::Ref<Ovelund::RadioButton> sender);
    void RadioButton2_Action(Ovelund::Ref<Ovelund::RadioButton> sender);
    void Stop_Action(Ovelund::Ref<Ovelund::PushButton> sender);
    void ModeATimer_Action(Ovelund::Ref<Ovelund::Timer> sender);
    void ModeBTimer_Action(Ovelund::Ref<Ovelund::Timer> sender);

    // Menu-item accessors: the entry of the window's menu bar with that name.
    Ovelund::Ref<Ovelund::AppleMenuItem> CheckforUpdateMenu();
    Ovelund::Ref<Ovelund::AppleMenuItem> AppleAbout();
    Ovelund::Ref<Ovelund::MenuItem> CheckforUpdateCheckNow();
    Ovelund::Ref<Ovelund::MenuItem> EditMenu();
    Ovelund::Ref<Ovelund::MenuItem> EditClear();
    Ovelund::Ref<Ovelund::MenuItem> EditPaste();
    Ovelund::Ref<Ovelund::MenuItem> EditCopy();
    Ovelund::Ref<Ovelund::MenuItem> EditCut();
    Ovelund::Ref<Ovelund::MenuItem> UntitledMenu0();
    Ovelund::Ref<Ovelund::MenuItem> EditUndo();
    Ovelund::Ref<Ovelund::MenuItem> FileMenu();
    Ovelund::Ref<Ovelund::QuitMenuItem> FileQuit();

    // Window events.
    void Event_Open();
    void Event_Close();

    // One step of a Mode A search (a count of primes) and of a Mode B search (primes up to a bound).
    void goModeA();
    void goModeB();

    // Steps shared by both modes.
    void addPrimeRow(std::int64_t p, std::int64_t n);
    void showLastRow();
    void finishSearch();

private:
    enum class SearchMode { CountOfPrimes, UpToBound };
    void runStep(SearchMode mode);
    template <class T> Ovelund::Ref<T> menuEntry(const char* name);
};
