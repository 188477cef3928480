// Start-up and shutdown through the real entry: the application object, its menu bar and handlers, the
// file type, the main window, and the exit status.

#include "about/AboutBox.h"
#include "app/App.h"
#include "app/FileTypes.h"
#include "app/MenuBar1.h"
#include "app/Startup.h"
#include "framework/core/Exceptions.h"
#include "framework/dispatch/ExceptionReport.h"
#include "framework/qt/WindowNative.h"
#include "framework/runtime/EventLoop.h"
#include "framework/runtime/FileType.h"
#include "framework/startup/Startup.h"
#include "framework/windows/OpenWindows.h"
#include "search/Module1.h"
#include "search/Window1.h"
#include "support/RecordingPresenter.h"

#include <QApplication>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <new>
#include <stdexcept>
#include <thread>
#include <vector>

using namespace Ovelund;
using testing_support::ScopedRecordingPresenter;

namespace {

// Runs the program's entry with `whileRunning` called once the event loop runs.
int RunProgram(std::function<void()> whileRunning) {
    QTimer::singleShot(0, [whileRunning] { whileRunning(); });
    return ProgramMain();
}

std::size_t RegisteredTextTypes() {
    std::size_t count = 0;
    for (const auto& type : RuntimeRegisteredFileTypes())
        count += type.name == "text";
    return count;
}

} // namespace

TEST(Startup, BuildsTheApplicationAndItsMainWindowThenClosingTheWindowEndsWithStatusZero) {
    ScopedRecordingPresenter presenter;
    const std::size_t registrationsBefore = RuntimeFileTypeRegistrationCount();
    bool checked = false;
    const int status = RunProgram([&] {
        checked = true;
        Ref<App> app = App::instance();
        ASSERT_TRUE(app);
        EXPECT_EQ(App::instance(), app);
        EXPECT_EQ(app->MenuBar(), MenuBar1::instance());
        EXPECT_TRUE(app->HasMenuHandler("AppleAbout"));
        EXPECT_TRUE(app->HasMenuHandler("CheckforUpdateCheckNow"));

        Ref<Window1> window = Window1::instance();
        ASSERT_TRUE(window);
        EXPECT_EQ(Window1::instance(), window) << "one main window";
        EXPECT_EQ(window->MenuBar(), MenuBar1::instance()) << "the same bar as the application's";
        EXPECT_TRUE(window->IsOpen());

        ASSERT_TRUE(FileTypes::pText);
        EXPECT_TRUE(FileTypes::pText->IsRegistered());
        ASSERT_EQ(RegisteredTextTypes(), 1u);
        for (const auto& type : RuntimeRegisteredFileTypes())
            if (type.name == "text") {
                EXPECT_EQ(type.type, "TEXT");
                EXPECT_EQ(type.creator, "R*ch");
                EXPECT_EQ(type.extensions, "");
            }
        EXPECT_EQ(RuntimeFileTypeRegistrationCount() - registrationsBefore, 1u) << "registered exactly once";

        window->Close();
    });
    EXPECT_TRUE(checked);
    EXPECT_EQ(status, 0);
    EXPECT_TRUE(presenter->messages.empty());
    // Shutdown released the globals.
    EXPECT_EQ(FileTypes::pText, nullptr);
    EXPECT_EQ(RegisteredTextTypes(), 0u) << "the last reference withdrew the registration";
    EXPECT_EQ(GetAppObject(), nullptr);
    EXPECT_TRUE(OpenWindows().empty());
    EXPECT_EQ(Module1::StartAt, "");
}

TEST(Startup, ClassesAreRegisteredFrameworkFirstThenTheProgramsInOrder) {
    RunProgram([] { Quit(0); });
    const auto& registered = RuntimeRegisteredClasses();
    auto position = [&](const ClassRecord& record) {
        return std::find(registered.begin(), registered.end(), &record) - registered.begin();
    };
    const ClassRecord* program[] = {
        &Window1::Lookup(), &Window1ModeATimer::Lookup(), &Window1ModeBTimer::Lookup(), &MenuBar1::Lookup(),
        &App::Lookup(),     &AboutBox::Lookup()};
    EXPECT_LT(position(Window::Lookup()), position(Window1::Lookup()));
    for (std::size_t i = 1; i < std::size(program); ++i)
        EXPECT_LT(position(*program[i - 1]), position(*program[i])) << program[i]->FullName();
    EXPECT_EQ(Window1ModeATimer::Lookup().FullName(), "Window1.ModeATimer");
    EXPECT_EQ(Window1::Lookup().FullName(), "Window1.Window1");
}

TEST(Startup, MenuHandlersAreReachedByItemNameAndShowOneWindowPerClass) {
    ScopedRecordingPresenter presenter;
    RunProgram([] {
        Ref<MenuItem> about = MenuBar1::instance()->FindItem("AppleAbout");
        ASSERT_TRUE(about);
        RuntimeChooseMenuItem(*about);
        Ref<Window> first = GetImplicitWindow("AboutBox.AboutBox");
        ASSERT_TRUE(first);
        RuntimeChooseMenuItem(*about);
        EXPECT_EQ(GetImplicitWindow("AboutBox.AboutBox"), first) << "no second about window";
        EXPECT_FALSE(App::instance()->AppleAbout_Action());
        EXPECT_FALSE(App::instance()->CheckforUpdateCheckNow_Action());
        first->Close();
        RuntimeChooseMenuItem(*about);
        EXPECT_NE(GetImplicitWindow("AboutBox.AboutBox"), first) << "a fresh one after it closed";
        Window1::instance()->Close();
    });
    EXPECT_TRUE(presenter->messages.empty());
}

TEST(Startup, ClosingTheMainWindowEndsTheRunWhileAnotherWindowIsOpen) {
    const int status = RunProgram([] {
        RuntimeChooseMenuItem(*MenuBar1::instance()->FindItem("AppleAbout"));
        ASSERT_TRUE(GetImplicitWindow("AboutBox.AboutBox"));
        Window1::instance()->Close();
    });
    EXPECT_EQ(status, 0);
}

TEST(Startup, AnExceptionInEarlyStartUpIsReportedThenFinalisationRunsWithNoWindowShown) {
    // Start-up off the user-interface thread fails at the first menu setter: a real fault of early start-up.
    ScopedRecordingPresenter presenter;
    int status = -1;
    std::thread elsewhere([&] { status = ProgramMain(); });
    elsewhere.join();
    EXPECT_EQ(status, 1);
    EXPECT_TRUE(RuntimeReportedUnhandledException());
    EXPECT_TRUE(OpenWindows().empty()) << "no window was made";
    EXPECT_EQ(FileTypes::pText, nullptr) << "finalisation ran";
    EXPECT_EQ(GetAppObject(), nullptr);
    RuntimeInit();
}

// Whatever reaches the start-up routine, from start-up or from the event loop, gets the same report and
// finalisation, and the process ends with status 1.
TEST(Startup, EveryExceptionThatEscapesTheEventLoopIsReportedByItsClassAndEndsWithStatusOne) {
    struct Case {
        const char* className;
        std::function<void()> raise;
    };
    const Case cases[] = {
        {"std::bad_alloc",
         [] {
             throw std::bad_alloc();
         }},
        {"std::runtime_error",
         [] {
             throw std::runtime_error("broken");
         }},
        {"int",
         [] {
             throw 42;
         }},
        {"NilObjectException",
         [] {
             throw NilObjectException("NilObjectException");
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.className);
        ScopedRecordingPresenter presenter;
        // Thrown from a toolkit callback that no framework boundary wraps, so it leaves the event loop.
        const int status = RunProgram(c.raise);
        EXPECT_EQ(status, 1);
        EXPECT_TRUE(RuntimeReportedUnhandledException());
        EXPECT_EQ(presenter->messages,
                  std::vector<String>{String("An exception of class ") + c.className +
                                      " was not handled. The application must shut down."});
        EXPECT_EQ(FileTypes::pText, nullptr) << "finalisation ran";
        EXPECT_TRUE(OpenWindows().empty());
        RuntimeInit();
    }
}

namespace {
// Notes each Close event of the controls it is bound to.
struct CloseRecorder : Object {
    void Closed(Ref<Control> control) { closed.push_back(control->Name()); }
    std::vector<String> closed;
};
} // namespace

// Ctrl+Q acts from a window without a menu bar of its own, and quitting runs every window's closing step:
// the about window's controls get their Close events.
TEST(Startup, CtrlQInTheAboutWindowQuitsAndClosesEveryWindow) {
    ScopedRecordingPresenter presenter;
    auto recorder = std::make_shared<CloseRecorder>();
    bool pressed = false;
    const int status = RunProgram([&] {
        RuntimeChooseMenuItem(*MenuBar1::instance()->FindItem("CheckforUpdateCheckNow"));
        RuntimeChooseMenuItem(*MenuBar1::instance()->FindItem("AppleAbout"));
        Ref<Window> about = GetImplicitWindow("AboutBox.AboutBox");
        if (!about) {
            ADD_FAILURE() << "no about window";
            Quit(0);
            return;
        }
        RuntimeAddEventHandler(CheckNil(about->ControlByName("Kagi")), Control::EventClose,
                               RuntimeCreateDelegate(&CloseRecorder::Closed, recorder, "( Control )", true));
        QWidget* frame = about->Native().frame;
        frame->activateWindow();
        QApplication::processEvents();
        if (QApplication::activeWindow() != frame) {
            Quit(0);
            return;
        }
        pressed = true;
        QTest::keyClick(frame->windowHandle(), Qt::Key_Q, Qt::ControlModifier);
    });
    if (!pressed)
        GTEST_SKIP() << "the platform activates no window";
    EXPECT_EQ(status, 0);
    EXPECT_EQ(recorder->closed, std::vector<String>{"Kagi"});
    EXPECT_TRUE(OpenWindows().empty());
    EXPECT_TRUE(presenter->messages.empty());
}
