#include "app/MenuBar1.h"

#include "framework/core/ClassRecord.h"

using namespace Ovelund;

Ref<MenuBar1> MenuBar1::implicitInstance;

const ClassRecord& MenuBar1::Lookup() {
    static const ClassRecord record = ClassBuilder<MenuBar1>("MenuBar1", &MenuBar::Lookup()).Build();
    return record;
}

Ref<MenuBar1> MenuBar1::instance() {
    if (!implicitInstance) {
        auto bar = std::make_shared<MenuBar1>();
        bar->Constructor();
        implicitInstance = bar;
    }
    return implicitInstance;
}

void MenuBar1::ReleaseInstance() {
    Ref<MenuBar1> old = std::move(implicitInstance);
    implicitInstance = nullptr;
}

void MenuBar1::Constructor() {
    Untitled1();
    Untitled2();
    Untitled3();
}

namespace {

struct Entry {
    const char* name;
    const char* text;
    const char* shortcut; // nullptr: the shortcut is not set
};

template <class ItemClass> Ref<MenuItem> MakeEntry(const Entry& entry) {
    Ref<MenuItem> item = std::make_shared<ItemClass>();
    CheckNil(item).Constructor();
    CheckNil(item).SetName(entry.name);
    CheckNil(item).SetAutoEnable(true);
    CheckNil(item).SetText(entry.text);
    if (entry.shortcut)
        CheckNil(item).SetKeyboardShortcut(entry.shortcut);
    return item;
}

void AppendToMenu(MenuBar& bar, const char* menuName, const Ref<MenuItem>& item) {
    Ref<MenuItem> menu = bar.Child(menuName);
    CheckNil(menu).Append(item);
}

} // namespace

void MenuBar1::Untitled1() {
    Append(MakeEntry<MenuItem>({"FileMenu", "&File", ""}));
    AppendToMenu(*this, "FileMenu", MakeEntry<QuitMenuItem>({"FileQuit", "Quit", "Cmd+Q"}));
}

void MenuBar1::Untitled2() {
    Append(MakeEntry<MenuItem>({"EditMenu", "&Edit", ""}));
    AppendToMenu(*this, "EditMenu", MakeEntry<MenuItem>({"EditUndo", "&Undo", "Cmd+Z"}));
    AppendToMenu(*this, "EditMenu", MakeEntry<MenuItem>({"UntitledMenu0", "-", nullptr}));
    AppendToMenu(*this, "EditMenu", MakeEntry<MenuItem>({"EditCut", "Cu&t", "Cmd+X"}));
    AppendToMenu(*this, "EditMenu", MakeEntry<MenuItem>({"EditCopy", "&Copy", "Cmd+C"}));
    AppendToMenu(*this, "EditMenu", MakeEntry<MenuItem>({"EditPaste", "&Paste", "Cmd+V"}));
    AppendToMenu(*this, "EditMenu", MakeEntry<MenuItem>({"EditClear", "Clear", ""}));
}

void MenuBar1::Untitled3() {
    Append(MakeEntry<AppleMenuItem>({"CheckforUpdateMenu", "Check for Update", ""}));
    AppendToMenu(*this, "CheckforUpdateMenu",
                 MakeEntry<MenuItem>({"CheckforUpdateCheckNow", "Check Now", ""}));
    AppendToMenu(*this, "CheckforUpdateMenu", MakeEntry<AppleMenuItem>({"AppleAbout", "About Velk", ""}));
}
