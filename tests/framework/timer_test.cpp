// The timer on the toolkit's real timer: what each mode ticks, and a timer that the handler of its own tick
// lets go, as a window closed by that handler does.

#include "framework/controls/Timer.h"
#include "framework/core/ClassRecord.h"
#include "framework/core/Delegate.h"
#include "framework/core/EventSource.h"

#include <QTest>

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <limits>
#include <memory>
#include <ostream>

namespace Ovelund {
namespace {

constexpr std::int32_t kPeriodMs = 5;
// Long enough for several more ticks to come, if one wrongly would.
constexpr int kSeveralPeriodsMs = 20 * kPeriodMs;
constexpr int kNoLimit = std::numeric_limits<int>::max();

class Ticks : public Object {
public:
    void Action(Ref<Timer> sender) {
        ++count;
        if (onTick)
            onTick(sender);
    }

    int count = 0;
    std::function<void(const Ref<Timer>&)> onTick;
};

Ref<Timer> NewTimer(const Ref<Ticks>& ticks, std::int32_t mode) {
    auto timer = std::make_shared<Timer>();
    RuntimeAddEventHandler(*timer, Timer::EventAction,
                           RuntimeCreateDelegate(&Ticks::Action, ticks, "( Timer )", true));
    timer->SetPeriod(kPeriodMs);
    timer->SetMode(mode);
    return timer;
}

struct ModeCase {
    const char* name;
    std::int32_t mode;
    int ticksAtLeast; // waited for
    int ticksAtMost;  // after several more periods
    std::int32_t modeAfter;
};

void PrintTo(const ModeCase& c, std::ostream* out) {
    *out << c.name;
}

class TimerModes : public testing::TestWithParam<ModeCase> {};

TEST_P(TimerModes, TickAsTheModeSays) {
    const ModeCase& c = GetParam();
    auto ticks = std::make_shared<Ticks>();
    Ref<Timer> timer = NewTimer(ticks, c.mode);
    if (c.ticksAtLeast > 0) {
        ASSERT_TRUE(QTest::qWaitFor([&] { return ticks->count >= c.ticksAtLeast; }));
    }
    QTest::qWait(kSeveralPeriodsMs);
    EXPECT_LE(ticks->count, c.ticksAtMost);
    EXPECT_EQ(timer->Mode(), c.modeAfter);
}

INSTANTIATE_TEST_SUITE_P(, TimerModes,
                         testing::Values(ModeCase{"Off", Timer::ModeOff, 0, 0, Timer::ModeOff},
                                         ModeCase{"Single", Timer::ModeSingle, 1, 1, Timer::ModeOff},
                                         ModeCase{"Multiple", Timer::ModeMultiple, 3, kNoLimit,
                                                  Timer::ModeMultiple}),
                         [](const testing::TestParamInfo<ModeCase>& info) { return info.param.name; });

// The handler drops the last reference the program holds; the timer goes once the tick has returned, and
// ticks no more.
TEST(Timer, AHandlerMayDropTheLastReferenceToItsTimer) {
    for (std::int32_t mode : {Timer::ModeSingle, Timer::ModeMultiple}) {
        SCOPED_TRACE(mode);
        auto ticks = std::make_shared<Ticks>();
        Ref<Timer> timer = NewTimer(ticks, mode);
        const WeakRef<Timer> weak = timer;
        ticks->onTick = [&](const Ref<Timer>&) {
            timer.reset();
        };
        ASSERT_TRUE(QTest::qWaitFor([&] { return ticks->count > 0; }));
        EXPECT_TRUE(weak.expired());
        QTest::qWait(kSeveralPeriodsMs);
        EXPECT_EQ(ticks->count, 1);
    }
}

// The handler of a repeating timer stops it, or starts its period again; a stopped timer can be started
// again.
TEST(Timer, AHandlerMayStopOrRestartItsOwnTimer) {
    auto ticks = std::make_shared<Ticks>();
    Ref<Timer> timer = NewTimer(ticks, Timer::ModeMultiple);
    ticks->onTick = [](const Ref<Timer>& sender) {
        sender->SetMode(Timer::ModeOff);
    };
    ASSERT_TRUE(QTest::qWaitFor([&] { return ticks->count > 0; }));
    QTest::qWait(kSeveralPeriodsMs);
    EXPECT_EQ(ticks->count, 1);

    ticks->onTick = [](const Ref<Timer>& sender) {
        sender->Reset();
    };
    timer->SetMode(Timer::ModeMultiple);
    ASSERT_TRUE(QTest::qWaitFor([&] { return ticks->count >= 3; }));
    EXPECT_EQ(timer->Mode(), Timer::ModeMultiple);
}

} // namespace
} // namespace Ovelund
