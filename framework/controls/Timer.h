#pragma once
// A timer raises its Action event every Period milliseconds while Mode is 2, once after Period
// when Mode is 1, and never while Mode is 0. Ticks use the toolkit's precise timers, so 20 ms ticks 50 times
// a second.

#include "framework/core/ClassRecord.h"
#include "framework/core/EventSource.h"

#include <cstdint>
#include <memory>

namespace Ovelund {

struct TimerNative;

class Timer : public Object, public EventSource {
    OVELUND_OBJECT
public:
    enum Event : int { EventAction = 0 };
    enum : std::int32_t { ModeOff = 0, ModeSingle = 1, ModeMultiple = 2 };

    Timer();
    ~Timer() override;

    void Constructor() {}

    std::int32_t Mode() const { return mode_; }
    void SetMode(std::int32_t mode);
    std::int32_t Period() const { return period_; }
    void SetPeriod(std::int32_t period);
    // Restarts the current period from now.
    void Reset();

    // Raises the Action event as a tick does (the toolkit's timer calls this).
    void Tick();

private:
    void Apply();

    std::unique_ptr<TimerNative> native_;
    std::int32_t mode_ = ModeSingle;
    std::int32_t period_ = 1000;
};

} // namespace Ovelund
