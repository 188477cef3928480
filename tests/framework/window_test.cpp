// Windows: how a window is built, kept under its class name, shown modally and closed.

#include "framework/ClassRecord.h"
#include "framework/Control.h"
#include "framework/Registry.h"
#include "framework/Runtime.h"
#include "framework/SetProperties.h"
#include "framework/WindowDesign.h"
#include "framework/WindowPattern.h"
#include "framework/qt/WindowNative.h"

#include <QApplication>
#include <QTimer>

#include <gtest/gtest.h>

using namespace Ovelund;

namespace {

std::vector<std::string> journal;

// A control without a widget that notes its Open and Close events in the journal.
class NoteControl : public Control {
    OVELUND_OBJECT
};
const ClassRecord& NoteControl::Lookup() {
    static const ClassRecord record = ClassBuilder<NoteControl>("NoteControl", &Control::Lookup()).Build();
    return record;
}

class NotingWindow : public Window {
    OVELUND_OBJECT
public:
    void CreateControls() {
        journal.push_back("CreateControls");
        NewControl(*this, NoteControl::Lookup(), "Note");
        BindEvent(*this, ControlByName("Note"), Control::EventOpen, &NotingWindow::Note_Open, "( Control )");
        BindEvent(*this, ControlByName("Note"), Control::EventClose, &NotingWindow::Note_Close,
                  "( Control )");
    }
    void Layout() {
        journal.push_back("Layout");
        SetProperties(*this, OVELUND_WINDOW_DESIGN(700, 530, 0, "Noting", true));
    }
    void Event_Open() { journal.push_back("Open"); }
    void Event_Close() { journal.push_back("Close"); }
    void Note_Open(Ref<Control>) { journal.push_back("Note.Open"); }
    void Note_Close(Ref<Control>) { journal.push_back("Note.Close"); }
};
const ClassRecord& NotingWindow::Lookup() {
    static const ClassRecord record =
        ClassBuilder<NotingWindow>("NotingWindow.NotingWindow", &Window::Lookup())
            .Handles(Window::EventCreateControls, &NotingWindow::CreateControls)
            .Handles(Window::EventLayout, &NotingWindow::Layout)
            .Handles(Window::EventOpen, &NotingWindow::Event_Open)
            .Handles(Window::EventClose, &NotingWindow::Event_Close)
            .Build();
    return record;
}

Ref<NotingWindow> NewNotingWindow() {
    auto window = std::static_pointer_cast<NotingWindow>(RuntimeNewObject(NotingWindow::Lookup()));
    window->Constructor();
    return window;
}

class WindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        RuntimeInit();
        journal.clear();
    }
    void TearDown() override {
        for (auto window : std::vector<Ref<Window>>(OpenWindows()))
            window->Close();
        RuntimeInit();
    }
};

} // namespace

TEST_F(WindowTest, BuildingRaisesCreateControlsLayoutTheControlsOpenThenTheWindowsOpen) {
    auto window = NewNotingWindow();
    EXPECT_EQ(journal, (std::vector<std::string>{"CreateControls", "Layout", "Note.Open", "Open"}));
    EXPECT_TRUE(window->IsOpen());
    EXPECT_TRUE(window->Native().frame->isVisible()) << "the design makes it visible";
}

TEST_F(WindowTest, TheDesignGivesAFixedContentAreaAndTheTitle) {
    auto window = NewNotingWindow();
    QWidget* content = ContentWidget(*window);
    EXPECT_EQ(content->size(), QSize(700, 530));
    EXPECT_EQ(content->minimumSize(), content->maximumSize()) << "not resizable";
    EXPECT_EQ(window->Native().frame->windowTitle(), QStringLiteral("Noting"));
    EXPECT_EQ(content->palette().color(QPalette::Window), QColor(Qt::white));
    EXPECT_FALSE(window->Native().frame->windowFlags() & Qt::WindowMaximizeButtonHint);
}

TEST_F(WindowTest, TheOpenWindowIsKeptUnderItsFullClassNameUntilItCloses) {
    EXPECT_EQ(GetImplicitWindow("NotingWindow.NotingWindow"), nullptr);
    auto window = NewNotingWindow();
    EXPECT_EQ(GetImplicitWindow("NotingWindow.NotingWindow"), window);
    journal.clear();
    window->Close();
    EXPECT_EQ(journal, (std::vector<std::string>{"Close", "Note.Close"}));
    EXPECT_EQ(GetImplicitWindow("NotingWindow.NotingWindow"), nullptr);
    EXPECT_EQ(window->ControlByName("Note"), nullptr) << "the registry is dropped";
    EXPECT_FALSE(window->Native().frame->isVisible());
}

TEST_F(WindowTest, TheCloseBoxRunsTheSameClosingStep) {
    auto window = NewNotingWindow();
    window->Native().frame->close();
    EXPECT_FALSE(window->IsOpen());
    EXPECT_EQ(GetImplicitWindow("NotingWindow.NotingWindow"), nullptr);
}

TEST_F(WindowTest, ControlsAreFoundByNameAndUnknownNamesGiveNil) {
    auto window = NewNotingWindow();
    EXPECT_TRUE(RuntimeCheckCast<NoteControl>(window->ControlByName("Note")));
    EXPECT_EQ(window->ControlByName("note"), nullptr);
    EXPECT_EQ(window->ControlByName(""), nullptr);
}

TEST_F(WindowTest, ADelegateOutlivingItsWindowRaisesInsteadOfCallingTheHandler) {
    auto window = NewNotingWindow();
    Ref<Object> note = window->ControlByName("Note");
    ReleaseFrameworkGlobals(); // the window goes without closing its controls
    window.reset();
    journal.clear();
    EXPECT_THROW(std::static_pointer_cast<NoteControl>(note)->RaiseOpen(), NilObjectException);
    EXPECT_TRUE(journal.empty());
}

TEST_F(WindowTest, ShowModalBlocksOtherWindowsAndReturnsOnceTheWindowHasClosed) {
    auto other = std::make_shared<Window>();
    other->Constructor();
    auto window = NewNotingWindow(); // its design has shown it already
    bool closedByTimer = false;
    QWidget* modalDuringLoop = nullptr;
    QTimer::singleShot(10, [&] {
        modalDuringLoop = QApplication::activeModalWidget();
        closedByTimer = true;
        window->Close();
    });
    window->ShowModal();
    EXPECT_TRUE(closedByTimer);
    EXPECT_EQ(modalDuringLoop, window->Native().frame.data());
    EXPECT_FALSE(window->IsOpen());
    other->Close();
}

TEST_F(WindowTest, ClosingEndsEveryShowModalOfTheWindow) {
    auto window = NewNotingWindow();
    int returned = 0;
    QTimer::singleShot(0, [&] {
        QTimer::singleShot(10, [&] { window->Close(); });
        window->ShowModal(); // a second, nested display of the same window
        ++returned;
    });
    window->ShowModal();
    ++returned;
    EXPECT_EQ(returned, 2);
}

TEST_F(WindowTest, WindowsDroppedAtShutdownAreReleased) {
    WeakRef<Window> watch;
    {
        auto window = NewNotingWindow();
        watch = window;
    }
    EXPECT_FALSE(watch.expired()) << "the open-window list holds it";
    ReleaseFrameworkGlobals();
    EXPECT_TRUE(watch.expired());
}
