// Menus over the toolkit's menu bar: texts, separators, shortcuts, and who answers a choice.

#include "framework/application/Application.h"
#include "framework/application/MenuBar.h"
#include "framework/controls/TextField.h"
#include "framework/qt/MenuItemNative.h"
#include "framework/qt/WindowNative.h"
#include "framework/runtime/EventLoop.h"
#include "framework/startup/Startup.h"
#include "framework/windows/Window.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QImage>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QTest>

#include <gtest/gtest.h>

using namespace Ovelund;

namespace {

template <class T = MenuItem> Ref<MenuItem> Entry(const char* name, const char* text, const char* shortcut) {
    Ref<MenuItem> item = std::make_shared<T>();
    item->SetName(name);
    item->SetText(text);
    if (shortcut)
        item->SetKeyboardShortcut(shortcut);
    return item;
}

struct Recorder : Object {
    int calls = 0;
    bool Handle() {
        ++calls;
        return false;
    }
};

class MenuTest : public ::testing::Test {
protected:
    void SetUp() override {
        RuntimeInit();
        bar = std::make_shared<MenuBar>();
        file = Entry("FileMenu", "&File", "");
        bar->Append(file);
        file->Append(Entry<QuitMenuItem>("FileQuit", "Quit", "Cmd+Q"));
        edit = Entry("EditMenu", "&Edit", "");
        bar->Append(edit);
        edit->Append(Entry("EditUndo", "&Undo", "Cmd+Z"));
        edit->Append(Entry("Separator", "-", nullptr));
        edit->Append(Entry("EditCopy", "&Copy", "Cmd+C"));
        edit->Append(Entry("EditPaste", "&Paste", "Cmd+V"));
        app = std::make_shared<Application>();
        RuntimeRegisterAppObject(app);
    }
    void TearDown() override {
        app->RemoveMenuHandlers();
        ReleaseFrameworkGlobals();
        RuntimeInit();
    }
    Ref<MenuBar> bar;
    Ref<MenuItem> file, edit;
    Ref<Application> app;
};

} // namespace

TEST_F(MenuTest, ChildAndLookupFindEntriesByName) {
    EXPECT_EQ(bar->Child("FileMenu"), file);
    EXPECT_EQ(bar->Child("FileQuit"), nullptr) << "Child looks at direct children only";
    ASSERT_TRUE(bar->FindItem("FileQuit"));
    EXPECT_TRUE(bar->FindItem("FileQuit")->IsA(QuitMenuItem::Lookup()));
    EXPECT_EQ(bar->FindItem("Nothing"), nullptr);
}

TEST_F(MenuTest, AWindowShowsTheBarWithAccessKeysSeparatorAndCommandKeyShortcuts) {
    auto window = std::make_shared<Window>();
    window->Constructor();
    window->SetMenuBar(bar);
    QMenuBar* menuBar = window->Native().menuBar;
    ASSERT_TRUE(menuBar);
    const auto menus = menuBar->actions();
    ASSERT_EQ(menus.size(), 2);
    EXPECT_EQ(menus[0]->text(), QStringLiteral("&File"));
    EXPECT_EQ(menus[1]->text(), QStringLiteral("&Edit"));
    const auto items = menus[1]->menu()->actions();
    ASSERT_EQ(items.size(), 4);
    EXPECT_EQ(items[0]->shortcut(), QKeySequence(QStringLiteral("Ctrl+Z")));
    EXPECT_TRUE(items[1]->isSeparator());
    EXPECT_EQ(items[2]->text(), QStringLiteral("&Copy"));
    EXPECT_EQ(menus[0]->menu()->actions()[0]->shortcut(), QKeySequence(QStringLiteral("Ctrl+Q")));
    window->Close();
}

// A separator is drawn as a line only: no text of its own reaches the style, which would draw it (the "-")
// left of the line, reaching a little beyond the separator's place. Every row there that shows anything is
// the line, with nothing left of it.
TEST_F(MenuTest, ASeparatorIsDrawnAsALineOnly) {
    auto window = std::make_shared<Window>();
    window->Constructor();
    window->SetMenuBar(bar);
    QMenu* menu = window->Native().menuBar->actions()[1]->menu();
    QAction* separator = menu->actions()[1];
    ASSERT_TRUE(separator->isSeparator());
    EXPECT_TRUE(separator->text().isEmpty());

    menu->popup(QPoint(0, 0));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(menu));
    const QImage image = menu->grab(menu->actionGeometry(separator).adjusted(0, -4, 0, 4)).toImage();
    // Inside the menu's frame, which the place takes in at both sides.
    constexpr int kFrame = 3;
    const QRgb background = image.pixel(image.width() / 2, 0);
    int lineRows = 0;
    for (int y = 0; y < image.height(); ++y) {
        int first = -1, last = -1, drawn = 0;
        for (int x = kFrame; x < image.width() - kFrame; ++x) {
            if (image.pixel(x, y) != background) {
                first = first < 0 ? x : first;
                last = x;
                ++drawn;
            }
        }
        if (drawn == 0)
            continue;
        ++lineRows;
        // One stroke, centred: a text left of the line is a second stroke and moves the line's start.
        EXPECT_EQ(drawn, last - first + 1) << "row " << y << " holds more than the line";
        EXPECT_EQ(first, image.width() - 1 - last) << "row " << y << " is not centred";
    }
    EXPECT_GT(lineRows, 0) << "the line is drawn";
    menu->hide();
    window->Close();
}

TEST_F(MenuTest, AChoiceReachesTheApplicationsHandlerByItemName) {
    auto recorder = std::make_shared<Recorder>();
    app->AddMenuHandler("EditPaste",
                        RuntimeCreateDelegate(&Recorder::Handle, recorder, "(  ) as Boolean", false));
    NativeAction(*bar->FindItem("EditPaste"))->trigger();
    EXPECT_EQ(recorder->calls, 1);
    EXPECT_FALSE(RuntimeQuitRequested());
}

TEST_F(MenuTest, QuitEndsTheApplication) {
    NativeAction(*bar->FindItem("FileQuit"))->trigger();
    EXPECT_TRUE(RuntimeQuitRequested());
}

TEST_F(MenuTest, EditEntriesActOnTheFocusedTextField) {
    auto window = std::make_shared<Window>();
    window->Constructor();
    auto control = RuntimeCheckCast<TextField>(window->New(TextField::Lookup()));
    control->Constructor();
    window->AddControl("Field", control);
    control->SetText("12345");
    auto* field = window->Native().content->findChild<QLineEdit*>();
    ASSERT_NE(field, nullptr);
    field->show();
    window->Native().frame->activateWindow();
    field->setFocus();
    QApplication::processEvents();
    if (QApplication::focusWidget() != field)
        GTEST_SKIP() << "the platform gives no keyboard focus";
    field->selectAll();
    RuntimeChooseMenuItem(*bar->FindItem("EditCopy"));
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("12345"));
    field->setCursorPosition(5);
    RuntimeChooseMenuItem(*bar->FindItem("EditPaste"));
    EXPECT_EQ(field->text(), QStringLiteral("1234512345"));
    EXPECT_TRUE(bar->FindItem("EditUndo")->CanAct());
    RuntimeChooseMenuItem(*bar->FindItem("EditUndo"));
    EXPECT_EQ(field->text(), QStringLiteral("12345"));
    window->Close();
}

namespace {
// A key pressed in a window as the window system delivers it, so that the toolkit looks for a shortcut.
void PressIn(const Window& window, Qt::Key key) {
    QTest::keyClick(window.Native().frame->windowHandle(), key, Qt::ControlModifier);
}

bool Activate(const Window& window) {
    window.Native().frame->activateWindow();
    QApplication::processEvents();
    return QApplication::activeWindow() == window.Native().frame.data();
}
} // namespace

// The application's bar is the one bar of the application: a window without a bar of its own draws none
// but answers the bar's shortcuts, and the same choice is made as from the bar itself.
TEST_F(MenuTest, AWindowWithoutABarOfItsOwnAnswersTheApplicationBarsShortcuts) {
    file->Append(Entry("FileCustom", "Custom", "Cmd+K"));
    app->SetMenuBar(bar);
    auto recorder = std::make_shared<Recorder>();
    app->AddMenuHandler("FileCustom",
                        RuntimeCreateDelegate(&Recorder::Handle, recorder, "(  ) as Boolean", false));
    auto main = std::make_shared<Window>();
    main->SetMenuBar(bar);
    main->Constructor();
    auto small = std::make_shared<Window>();
    small->Constructor();
    EXPECT_EQ(small->Native().frame->findChild<QMenuBar*>(), nullptr) << "no bar drawn in the small window";

    if (!Activate(*small))
        GTEST_SKIP() << "the platform activates no window";
    PressIn(*small, Qt::Key_K);
    EXPECT_EQ(recorder->calls, 1);
    ASSERT_TRUE(Activate(*main));
    PressIn(*main, Qt::Key_K);
    EXPECT_EQ(recorder->calls, 2) << "the window with the bar answers once";

    // A window that gets a bar of its own answers through that bar alone.
    small->SetMenuBar(bar);
    ASSERT_TRUE(Activate(*small));
    PressIn(*small, Qt::Key_K);
    EXPECT_EQ(recorder->calls, 3);
    small->SetMenuBar(nullptr);
    ASSERT_TRUE(Activate(*small));
    PressIn(*small, Qt::Key_Q);
    EXPECT_TRUE(RuntimeQuitRequested()) << "Quit from the small window";
    small->Close();
    main->Close();
}
