// Windows: how a window is built, kept under its class name, shown modally and closed.

#include "framework/controls/Control.h"
#include "framework/controls/GroupBox.h"
#include "framework/controls/PushButton.h"
#include "framework/controls/TextField.h"
#include "framework/core/ClassRecord.h"
#include "framework/core/Exceptions.h"
#include "framework/core/SetProperties.h"
#include "framework/qt/ControlNative.h"
#include "framework/qt/WindowNative.h"
#include "framework/runtime/EventLoop.h"
#include "framework/startup/Startup.h"
#include "framework/windows/OpenWindows.h"
#include "framework/windows/WindowPattern.h"

#include <QApplication>
#include <QTest>
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
        SetProperties(*this, OVELUND_DESIGN_BLOCK(design::Int32{"Width", 700}, design::Int32{"Height", 530},
                                                  design::Boolean{"HasBackColor", true},
                                                  design::Color{"BackColor", 0xFF, 0xFF, 0xFF},
                                                  design::String{"Title", "Noting"},
                                                  design::Boolean{"Resizeable", false},
                                                  design::Boolean{"MaximizeButton", false}));
    }
    void Event_Open() { journal.push_back("Open"); }
    // The window's Close handler runs while the window is whole.
    void Event_Close() {
        journal.push_back(tag + (ControlByName("Note") ? "Close" : "Close on a half-closed window"));
    }
    void Note_Open(Ref<Control>) { journal.push_back("Note.Open"); }
    void Note_Close(Ref<Control>) { journal.push_back(tag + "Note.Close"); }

    // Tells this window's entries in the journal from another's.
    std::string tag;
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
    QWidget* content = window->Native().content.data();
    EXPECT_EQ(content->size(), QSize(700, 530));
    EXPECT_EQ(content->minimumSize(), content->maximumSize()) << "not resizable";
    EXPECT_EQ(window->Native().frame->windowTitle(), QStringLiteral("Noting"));
    EXPECT_EQ(content->palette().color(QPalette::Window), QColor(Qt::white));
    EXPECT_FALSE(window->Native().frame->windowFlags() & Qt::WindowMaximizeButtonHint);
}

// A design far larger than any screen would ask for a backing store of gigabytes: the content area stays
// within what a window can show, while the properties keep the values they were given.
TEST_F(WindowTest, ADesignLargerThanAnyScreenIsBoundedToWhatAWindowCanShow) {
    for (const bool resizeable : {false, true}) {
        SCOPED_TRACE(resizeable ? "resizeable" : "fixed");
        auto window = std::make_shared<Window>();
        SetProperties(
            *window, OVELUND_DESIGN_BLOCK(design::Int32{"Width", 32000}, design::Int32{"Height", 32000},
                                          design::Int32{"MaxWidth", 32000}, design::Int32{"MaxHeight", 32000},
                                          design::Boolean{"Visible", false}));
        window->SetResizeable(resizeable);
        window->Constructor();
        QWidget* content = window->Native().content.data();
        EXPECT_LE(content->width(), 8192);
        EXPECT_LE(content->height(), 8192);
        EXPECT_LE(content->maximumWidth(), 8192);
        EXPECT_LE(content->maximumHeight(), 8192);
        EXPECT_EQ(window->ContentLimit().width, content->maximumWidth());
        EXPECT_EQ(window->Width(), 32000);
        EXPECT_EQ(window->MaxHeight(), 32000);
        window->Close();
    }
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
    UnregisterOpenWindow(*window); // the window goes without closing its controls
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

namespace {
// Notes every show and hide of a widget, each show with the modality the widget has then.
class ShowRecorder : public QObject {
public:
    std::vector<std::string> events;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show)
            events.push_back(static_cast<QWidget*>(watched)->windowModality() == Qt::ApplicationModal
                                 ? "show modal"
                                 : "show");
        else if (event->type() == QEvent::Hide)
            events.push_back("hide");
        return false;
    }
};

// A window of frame `frame` whose design shows it.
class FramedWindow : public Window {
    OVELUND_OBJECT
public:
    void Layout() { SetFrame(frame); }
    static inline std::int32_t frame = 0;
};
const ClassRecord& FramedWindow::Lookup() {
    static const ClassRecord record =
        ClassBuilder<FramedWindow>("FramedWindow.FramedWindow", &Window::Lookup())
            .Handles(Window::EventLayout, &FramedWindow::Layout)
            .Build();
    return record;
}
} // namespace

// A window of the modal frame (1), built by its design and then shown modally as the update window is, is
// shown once and modal from the start: a show, a hide and a show again can leave it unmapped under a window
// manager, a modal window that blocks every other. A window of frame 0 shows without modality; ShowModal
// makes it modal.
TEST_F(WindowTest, AWindowOfTheModalFrameIsShownOnceAndModalFromItsFirstShow) {
    struct FrameCase {
        std::int32_t frame;
        std::vector<std::string> built;
        std::vector<std::string> shownModally; // empty: not checked
    };
    const FrameCase cases[] = {
        {1, {"show modal"}, {"show modal", "hide"}},
        {0, {"show"}, {}},
    };
    for (const FrameCase& c : cases) {
        SCOPED_TRACE(c.frame);
        FramedWindow::frame = c.frame;
        auto window = std::static_pointer_cast<FramedWindow>(RuntimeNewObject(FramedWindow::Lookup()));
        ShowRecorder recorder;
        window->Native().frame->installEventFilter(&recorder);
        window->Constructor();
        EXPECT_EQ(recorder.events, c.built);
        bool modalInLoop = false;
        QTimer::singleShot(0, [&] {
            modalInLoop = QApplication::activeModalWidget() == window->Native().frame.data();
            window->Close();
        });
        window->ShowModal();
        EXPECT_TRUE(modalInLoop);
        if (!c.shownModally.empty()) {
            EXPECT_EQ(recorder.events, c.shownModally) << "the last hide is the close";
        }
    }
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

namespace {

// Adds a visual control to `window` at (left, top) in the container `parent` ("" for the window).
template <class T>
Ref<T> AddControl(Window& window, const char* name, std::int32_t tabIndex, const char* parent, int left,
                  int top) {
    auto control = std::static_pointer_cast<T>(NewControl(window, T::Lookup(), name));
    control->SetName(name);
    control->SetLeft(left);
    control->SetTop(top);
    control->SetInitialParent(parent);
    control->SetTabIndex(tabIndex);
    return control;
}

// The names of the controls the Tab key visits from `from`, until it comes back or `limit` presses.
std::vector<std::string> TabWay(const Window& window, const RectControl& from, int limit = 10) {
    std::vector<std::string> way;
    QWidget* first = from.Native().widget;
    first->setFocus();
    for (int press = 0; press < limit; ++press) {
        QTest::keyClick(window.Native().frame->windowHandle(), Qt::Key_Tab);
        QWidget* now = QApplication::focusWidget();
        if (!now || now == first)
            break;
        way.push_back(now->objectName().toStdString());
    }
    return way;
}

} // namespace

TEST_F(WindowTest, TabFollowsTabIndexWithinEachContainerAndPassesControlsThatAreNoTabStop) {
    auto window = std::make_shared<Window>();
    window->Constructor(); // built: controls added now take their place in the order as they come
    AddControl<TextField>(*window, "C", 2, "", 10, 10);
    auto a = AddControl<TextField>(*window, "A", 0, "", 10, 40);
    AddControl<GroupBox>(*window, "G", 1, "", 150, 10)->SetHeight(100);
    AddControl<TextField>(*window, "G1", 1, "G", 160, 70);
    AddControl<TextField>(*window, "G0", 0, "G", 160, 40);
    auto b = AddControl<PushButton>(*window, "B", 3, "", 10, 70);
    b->SetTabStop(false);
    window->Native().frame->activateWindow();
    QApplication::processEvents();
    if (QApplication::activeWindow() != window->Native().frame.data())
        GTEST_SKIP() << "the platform activates no window";

    EXPECT_EQ(TabWay(*window, *a), (std::vector<std::string>{"G0", "G1", "C"}));
    b->SetTabStop(true);
    EXPECT_EQ(TabWay(*window, *a), (std::vector<std::string>{"G0", "G1", "C", "B"})) << "a tab stop again";
    b->SetTabIndex(-1);
    EXPECT_EQ(TabWay(*window, *b), (std::vector<std::string>{"A", "G0", "G1", "C"})) << "B now comes first";
    window->Close();
}

TEST_F(WindowTest, ShowBringsAMinimisedWindowBackInFrontAndActive) {
    auto other = NewNotingWindow();
    auto window = std::make_shared<Window>();
    window->Constructor();
    QWidget* frame = window->Native().frame;
    frame->showMinimized();
    QApplication::processEvents();
    ASSERT_TRUE(frame->windowState() & Qt::WindowMinimized);
    window->Show();
    QApplication::processEvents();
    EXPECT_FALSE(frame->windowState() & Qt::WindowMinimized);
    EXPECT_TRUE(frame->isVisible());
    EXPECT_EQ(QApplication::activeWindow(), frame);
    window->Close();
    other->Close();
}

TEST_F(WindowTest, QuittingRunsEveryOpenWindowsClosingStepTheNewestFirst) {
    auto first = NewNotingWindow();
    first->tag = "first ";
    auto second = NewNotingWindow();
    second->tag = "second ";
    journal.clear();
    QTimer::singleShot(0, [] { Quit(0); });
    RuntimeRun();
    EXPECT_EQ(journal, (std::vector<std::string>{"second Close", "second Note.Close", "first Close",
                                                 "first Note.Close"}));
    EXPECT_FALSE(first->IsOpen());
    EXPECT_FALSE(second->IsOpen());
    EXPECT_TRUE(OpenWindows().empty());
}
