// The main window's handlers: which timer "Start" runs, what "Stop", the mode buttons and the fields do.

#include "search/SearchFixture.h"

#include "app/Startup.h"

#include <QTimer>

#include <chrono>

using namespace Ovelund;
using testing_support::SearchFixture;

namespace {
class Handlers : public SearchFixture {};
} // namespace

TEST_F(Handlers, StartCopiesTheFieldsAsTypedAndRunsOnlyTheTimerOfTheMode) {
    Click("Start");
    EXPECT_EQ(Module1::StartAt, "2");
    EXPECT_EQ(Module1::StopAt, "500");
    EXPECT_EQ(TimerA()->Mode(), Timer::ModeMultiple);
    EXPECT_EQ(TimerB()->Mode(), Timer::ModeOff);
    EXPECT_FALSE(window->EditField1()->Enabled());
    EXPECT_FALSE(window->EditField2()->Enabled());
    EXPECT_FALSE(window->Start()->Enabled());
    EXPECT_TRUE(window->Stop()->Enabled());
    EXPECT_TRUE(window->Stop()->Default());
    EXPECT_FALSE(window->GroupBox1()->Enabled());
    EXPECT_FALSE(window->StaticText5()->Enabled());
    EXPECT_FALSE(window->StaticText6()->Enabled());
    Click("Stop");
    RunToEnd();

    ChooseModeB();
    Click("Start");
    EXPECT_EQ(TimerA()->Mode(), Timer::ModeOff);
    EXPECT_EQ(TimerB()->Mode(), Timer::ModeMultiple);
    Click("Stop");
    RunToEnd();
    ExpectIdle();
}

TEST_F(Handlers, TheModeButtonsRelabelTheSecondFieldAndKeepItsText) {
    ChooseModeB();
    EXPECT_EQ(window->StaticText1()->Text(), "Stop At:");
    EXPECT_EQ(window->StaticText2()->Text(), "Start At:");
    EXPECT_EQ(window->EditField1()->Text(), "500");
    EXPECT_FALSE(window->RadioButton1()->Value()) << "the two modes exclude each other";
    Click("RadioButton1");
    EXPECT_EQ(window->StaticText1()->Text(), "# Primes:");
    EXPECT_TRUE(window->RadioButton1()->Value());
}

TEST_F(Handlers, EditingAFieldEmptiesTheListChoosingAModeDoesNot) {
    StartSearch("2", "3");
    RunToEnd();
    ASSERT_EQ(Rows().size(), 3u);
    ChooseModeB();
    EXPECT_EQ(Rows().size(), 3u);
    Type("EditField2", "5");
    EXPECT_TRUE(Rows().empty());
    StartSearch("2", "3");
    RunToEnd();
    Type("EditField1", "4");
    EXPECT_TRUE(Rows().empty());
}

TEST_F(Handlers, StopKeepsTheRowsAndTheNextTickFinishes) {
    StartSearch("2", "50");
    Tick();
    Tick();
    Click("Stop");
    EXPECT_TRUE(Module1::StopFlag);
    EXPECT_FALSE(window->Stop()->Enabled());
    EXPECT_TRUE(window->Stop()->Default()) << "Stop leaves the default flag as it is";
    EXPECT_TRUE(window->Start()->Enabled());
    EXPECT_FALSE(window->GroupBox1()->Enabled());
    Tick();
    EXPECT_EQ(Primes(), (std::vector<std::string>{"2", "3"}));
    ExpectIdle();
}

TEST_F(Handlers, ReturnPressesStartAndDuringASearchStop) {
    auto pressReturn = [this] {
        QWidget* frame = window->Native().frame;
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        QApplication::sendEvent(QApplication::focusWidget() ? QApplication::focusWidget() : frame, &press);
    };
    pressReturn();
    EXPECT_EQ(TimerA()->Mode(), Timer::ModeMultiple) << "Return pressed Start";
    pressReturn();
    EXPECT_TRUE(Module1::StopFlag) << "Return pressed Stop, the default during a search";
    RunToEnd();
    ExpectIdle();
}

TEST(MainWindowClosing, ClosingTheWindowDuringALongStepEndsTheApplicationAtOnceWithStatusZero) {
    testing_support::ScopedRecordingPresenter presenter;
    const auto began = std::chrono::steady_clock::now();
    RuntimeSetEventDeliveryInterval(std::chrono::milliseconds(0));
    // Polled by the event loop; while a step runs only the hook runs the loop, so the window closes from
    // inside the step.
    QTimer closeDuringAStep;
    QObject::connect(&closeDuringAStep, &QTimer::timeout, [] {
        if (Module1::Busy)
            Window1::instance()->Close();
    });
    QTimer::singleShot(0, [&closeDuringAStep] {
        Ref<Window1> window = Window1::instance();
        window->EditField2()->SetText("9999999900"); // the longest steps there are
        window->Start_Action(window->Start());
        closeDuringAStep.start(0);
    });
    const int status = ProgramMain();
    RuntimeSetEventDeliveryInterval(std::chrono::milliseconds(-1));
    EXPECT_EQ(status, 0);
    EXPECT_TRUE(presenter->messages.empty());
    EXPECT_TRUE(Module1::StartAt.empty()) << "shutdown released the globals";
    const auto took = std::chrono::steady_clock::now() - began;
    RecordProperty("milliseconds",
                   static_cast<int>(std::chrono::duration_cast<std::chrono::milliseconds>(took).count()));
    Module1::Busy = false;
    RuntimeInit();
}
