#pragma once
// A main window on the offscreen platform with a recording dialog presenter, driven as the user and the
// timers drive it: real clicks on the widgets, and ticks delivered through the timers' handlers.

#include "framework/qt/ControlNative.h"
#include "framework/qt/WindowNative.h"
#include "framework/runtime/EventLoop.h"
#include "framework/startup/Startup.h"
#include "search/Module1.h"
#include "search/Window1.h"
#include "support/RecordingPresenter.h"

#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace testing_support {

struct Row {
    std::string index, prime, gap;
    friend bool operator==(const Row&, const Row&) = default;
    friend std::ostream& operator<<(std::ostream& out, const Row& row) {
        return out << "(" << row.index << ", " << row.prime << ", " << row.gap << ")";
    }
};

class SearchFixture : public ::testing::Test {
protected:
    void SetUp() override {
        Ovelund::RuntimeInit();
        // Events posted before a tick reach the step at its first clock check, however short the step.
        Ovelund::RuntimeSetEventDeliveryInterval(std::chrono::milliseconds(0));
        Module1::StopFlag = false;
        Module1::Busy = false;
        window = Window1::instance();
        ASSERT_TRUE(window);
    }
    void TearDown() override {
        if (auto open = Ovelund::GetImplicitWindow("Window1.Window1"))
            open->Close();
        Module1::Release();
        Module1::StopFlag = false;
        Module1::Busy = false;
        Ovelund::RuntimeInit(); // closing the main window asked to quit
        Ovelund::RuntimeSetEventDeliveryInterval(std::chrono::milliseconds(-1));
    }

    template <class W> W* Widget(const char* name) const {
        auto control = std::dynamic_pointer_cast<Ovelund::RectControl>(window->ControlByName(name));
        return control ? qobject_cast<W*>(control->Native().widget.data()) : nullptr;
    }
    void Click(const char* name) { Widget<QAbstractButton>(name)->click(); }
    void Type(const char* field, const char* text) {
        Widget<QLineEdit>(field)->setText(QString::fromUtf8(text));
    }
    void ChooseModeB() { Click("RadioButton2"); }

    // Types the two numbers and presses "Start".
    void StartSearch(const char* start, const char* second) {
        Type("EditField2", start);
        Type("EditField1", second);
        Click("Start");
    }

    Ovelund::Ref<Ovelund::Timer> TimerA() const { return window->ModeATimer(); }
    Ovelund::Ref<Ovelund::Timer> TimerB() const { return window->ModeBTimer(); }
    bool Running() const {
        return TimerA()->Mode() != Ovelund::Timer::ModeOff || TimerB()->Mode() != Ovelund::Timer::ModeOff;
    }

    // One tick of whichever timer runs, as the timer delivers it.
    void Tick() {
        if (TimerA()->Mode() != Ovelund::Timer::ModeOff)
            TimerA()->Tick();
        else if (TimerB()->Mode() != Ovelund::Timer::ModeOff)
            TimerB()->Tick();
    }
    // Ticks until the search ends; returns the number of ticks it took.
    int RunToEnd(int limit = 100000) {
        int ticks = 0;
        while (Running() && ticks < limit) {
            Tick();
            ++ticks;
        }
        return ticks;
    }

    std::vector<Row> Rows() const {
        std::vector<Row> rows;
        auto list = window->ListBox1();
        for (std::int32_t r = 0; r < list->ListCount(); ++r)
            rows.push_back(Row{list->Cell(r, 0), list->Cell(r, 1), list->Cell(r, 2)});
        return rows;
    }
    std::vector<std::string> Primes() const {
        std::vector<std::string> primes;
        for (const Row& row : Rows())
            primes.push_back(row.prime);
        return primes;
    }

    // The state every way out of a search leaves behind.
    void ExpectIdle() const {
        EXPECT_EQ(TimerA()->Mode(), Ovelund::Timer::ModeOff);
        EXPECT_EQ(TimerB()->Mode(), Ovelund::Timer::ModeOff);
        EXPECT_FALSE(Module1::Busy);
        EXPECT_FALSE(Module1::StopFlag);
        EXPECT_TRUE(window->Start()->Enabled());
        EXPECT_TRUE(window->Start()->Default());
        EXPECT_FALSE(window->Stop()->Enabled());
        EXPECT_FALSE(window->Stop()->Default());
        EXPECT_TRUE(window->EditField1()->Enabled());
        EXPECT_TRUE(window->EditField2()->Enabled());
        EXPECT_TRUE(window->GroupBox1()->Enabled());
        EXPECT_FALSE(window->Warning()->Visible());
        auto list = window->ListBox1();
        EXPECT_EQ(list->ScrollPosition() + VisibleRows() >= list->ListCount(), true)
            << "the last row is in view";
    }
    std::int32_t VisibleRows() const;

    ScopedRecordingPresenter presenter;
    Ovelund::Ref<Window1> window;
};

} // namespace testing_support
