// The dispatch boundary, the unhandled-exception report, quitting, the background-task hook and the
// user-interface thread test.

#include "framework/core/Exceptions.h"
#include "framework/dispatch/Dispatch.h"
#include "framework/dispatch/ExceptionReport.h"
#include "framework/runtime/BackgroundTask.h"
#include "framework/runtime/EventLoop.h"
#include "framework/runtime/UIThread.h"
#include "framework/startup/Startup.h"
#include "framework/windows/Window.h"
#include "support/RecordingPresenter.h"

#include <QCoreApplication>
#include <QTimer>

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

using namespace Ovelund;
using testing_support::ScopedRecordingPresenter;

namespace {

class RuntimeTest : public ::testing::Test {
protected:
    void SetUp() override { RuntimeInit(); }
    void TearDown() override { RuntimeInit(); }
    ScopedRecordingPresenter presenter;
};

// Calls the hook until `done` holds or about a second has passed.
template <class Done> void SpinHook(Done done) {
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(1);
    while (!done() && std::chrono::steady_clock::now() < until)
        RuntimeBackgroundTask();
}

} // namespace

TEST_F(RuntimeTest, AnEscapedRuntimeExceptionIsReportedByClassAndEndsTheApplication) {
    Dispatch([] { throw NilObjectException("NilObjectException"); });
    ASSERT_EQ(presenter->messages.size(), 1u);
    EXPECT_NE(presenter->messages[0].find("NilObjectException"), std::string::npos);
    EXPECT_TRUE(RuntimeReportedUnhandledException());
    EXPECT_TRUE(RuntimeQuitRequested());
    EXPECT_EQ(RuntimeExit(), 1);
}

TEST_F(RuntimeTest, OtherExceptionsAreReportedToo) {
    Dispatch([] { throw std::runtime_error("boom"); });
    EXPECT_EQ(presenter->messages.size(), 1u);
    EXPECT_TRUE(RuntimeQuitRequested());
}

TEST_F(RuntimeTest, TheInstalledExceptionHelperRunsEveryDispatch) {
    static int calls;
    calls = 0;
    auto helper = RuntimeCreateDelegate(
        +[](ExceptionHelperFunction function, void* argument) -> std::shared_ptr<RuntimeException> {
            ++calls;
            return CallFunctionWithExceptionHandling(function, argument);
        },
        "( Ptr, Ptr ) as Object");
    RuntimeSetExceptionHelper(helper);
    bool ran = false;
    Dispatch([&] { ran = true; });
    EXPECT_TRUE(ran);
    EXPECT_EQ(calls, 1);
    Dispatch([] { throw ThreadAccessingUIException("ThreadAccessingUIException"); });
    EXPECT_EQ(calls, 2);
    ASSERT_EQ(presenter->messages.size(), 1u);
    EXPECT_NE(presenter->messages[0].find("ThreadAccessingUIException"), std::string::npos);
}

TEST_F(RuntimeTest, QuitEndsTheEventLoopWithItsCode) {
    QTimer::singleShot(0, [] { Quit(0); });
    RuntimeRun();
    EXPECT_TRUE(RuntimeQuitRequested());
    EXPECT_EQ(RuntimeExit(), 0);
}

TEST_F(RuntimeTest, TheHookDeliversPendingEvents) {
    bool delivered = false;
    QTimer::singleShot(0, [&] { delivered = true; });
    SpinHook([&] { return delivered; });
    EXPECT_TRUE(delivered);
}

TEST_F(RuntimeTest, AQuitInsideTheHookUnwindsTheHandlerThroughTheDispatchBoundary) {
    bool reachedAfterQuit = false;
    bool loopEnded = false;
    QTimer::singleShot(0, [&] {
        Dispatch([&] {
            QTimer::singleShot(0, [] { Quit(0); });
            for (std::uint64_t i = 0; i < 100'000'000'000ull; ++i)
                RuntimeBackgroundTask();
            reachedAfterQuit = true;
        });
    });
    QTimer::singleShot(5000, [&] { QCoreApplication::exit(7); }); // a safety net, never expected
    RuntimeRun();
    loopEnded = true;
    EXPECT_TRUE(loopEnded);
    EXPECT_FALSE(reachedAfterQuit);
    EXPECT_TRUE(presenter->messages.empty()) << "quitting is no failure";
    EXPECT_EQ(RuntimeExit(), 0);
}

TEST_F(RuntimeTest, BlockAccountingCountsEveryCall) {
    const std::uint64_t before = RuntimeBackgroundTaskCount();
    RuntimeBackgroundTask();
    RuntimeBackgroundTasks(10'000);
    RuntimeBackgroundTasks(0);
    EXPECT_EQ(RuntimeBackgroundTaskCount() - before, 10'001u);
}

TEST_F(RuntimeTest, UserInterfaceWorkFromAnotherThreadRaises) {
    bool checkRaised = false;
    bool setterRaised = false;
    auto window = std::make_shared<Window>();
    std::thread other([&] {
        try {
            CheckUIThread();
        } catch (const ThreadAccessingUIException&) {
            checkRaised = true;
        }
        try {
            window->SetTitle("from elsewhere");
        } catch (const ThreadAccessingUIException&) {
            setterRaised = true;
        }
    });
    other.join();
    EXPECT_TRUE(checkRaised);
    EXPECT_TRUE(setterRaised);
    EXPECT_NO_THROW(CheckUIThread());
}
