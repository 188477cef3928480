// The program's menu bar: its tree, its single instance, and the entries the application serves by name.

#include "app/MenuBar1.h"

#include <gtest/gtest.h>

using namespace Ovelund;

namespace {
struct Row {
    const char* name;
    const ClassRecord& cls;
    const char* text;
    const char* shortcut; // nullptr: never set
    const char* parent;   // nullptr: the bar
};
} // namespace

TEST(MenuBar1, BuildsTheTreeInOrderWithTextsClassesAndShortcuts) {
    Ref<MenuBar1> bar = MenuBar1::instance();
    const Row rows[] = {
        {"FileMenu", MenuItem::Lookup(), "&File", "", nullptr},
        {"FileQuit", QuitMenuItem::Lookup(), "Quit", "Cmd+Q", "FileMenu"},
        {"EditMenu", MenuItem::Lookup(), "&Edit", "", nullptr},
        {"EditUndo", MenuItem::Lookup(), "&Undo", "Cmd+Z", "EditMenu"},
        {"UntitledMenu0", MenuItem::Lookup(), "-", nullptr, "EditMenu"},
        {"EditCut", MenuItem::Lookup(), "Cu&t", "Cmd+X", "EditMenu"},
        {"EditCopy", MenuItem::Lookup(), "&Copy", "Cmd+C", "EditMenu"},
        {"EditPaste", MenuItem::Lookup(), "&Paste", "Cmd+V", "EditMenu"},
        {"EditClear", MenuItem::Lookup(), "Clear", "", "EditMenu"},
        {"CheckforUpdateMenu", AppleMenuItem::Lookup(), "Check for Update", "", nullptr},
        {"CheckforUpdateCheckNow", MenuItem::Lookup(), "Check Now", "", "CheckforUpdateMenu"},
        {"AppleAbout", AppleMenuItem::Lookup(), "About Velk", "", "CheckforUpdateMenu"},
    };
    std::map<std::string, std::vector<std::string>> children;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Ref<MenuItem> item = bar->FindItem(row.name);
        ASSERT_TRUE(item);
        EXPECT_EQ(&item->Record(), &row.cls);
        EXPECT_EQ(item->Text(), row.text);
        EXPECT_TRUE(item->AutoEnable());
        EXPECT_EQ(item->KeyboardShortcutIsSet(), row.shortcut != nullptr);
        if (row.shortcut) {
            EXPECT_EQ(item->KeyboardShortcut(), row.shortcut);
        }
        MenuItem* expectedParent = row.parent ? bar->FindItem(row.parent).get() : bar.get();
        EXPECT_EQ(item->Parent(), expectedParent);
        children[row.parent ? row.parent : ""].push_back(row.name);
    }
    // The order of appending is the order of the rows.
    for (const auto& [parentName, names] : children) {
        MenuItem& parent = parentName.empty() ? static_cast<MenuItem&>(*bar) : *bar->FindItem(parentName);
        ASSERT_EQ(parent.Count(), names.size()) << parentName;
        for (std::size_t i = 0; i < names.size(); ++i)
            EXPECT_EQ(parent.Item(i)->Name(), names[i]);
    }
}

TEST(MenuBar1, IsBuiltOnceAndSharedByEveryCaller) {
    Ref<MenuBar1> first = MenuBar1::instance();
    Ref<MenuBar1> second = MenuBar1::instance();
    EXPECT_EQ(first, second);
    EXPECT_EQ(first->Count(), 3u);
    MenuBar1::ReleaseInstance();
    Ref<MenuBar1> rebuilt = MenuBar1::instance();
    EXPECT_NE(rebuilt, first);
    EXPECT_EQ(rebuilt->Count(), 3u);
}
