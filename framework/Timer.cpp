#include "framework/Timer.h"

#include "framework/Runtime.h"

#include <QTimer>

#include <algorithm>

namespace Ovelund {

struct TimerNative {
    QTimer timer;
};

const ClassRecord& Timer::Lookup() {
    static const ClassRecord record = ClassBuilder<Timer>("Timer", &Object::Lookup())
                                          .Event(EventAction, "Action")
                                          .Property("Mode", &Timer::SetMode, &Timer::Mode)
                                          .Property("Period", &Timer::SetPeriod, &Timer::Period)
                                          .Build();
    return record;
}

Timer::Timer() : native_(std::make_unique<TimerNative>()) {
    native_->timer.setTimerType(Qt::PreciseTimer);
    QObject::connect(&native_->timer, &QTimer::timeout, [this] {
        Ref<Object> self = shared_from_this();
        Dispatch([this, self] { Tick(); });
    });
}

Timer::~Timer() = default;

void Timer::SetMode(std::int32_t mode) {
    CheckUIThread();
    mode_ = mode;
    Apply();
}

void Timer::SetPeriod(std::int32_t period) {
    CheckUIThread();
    period_ = period;
    Apply();
}

void Timer::Reset() {
    Apply();
}

void Timer::Apply() {
    // A period below 1 ms is taken as 1 ms; the toolkit's timers take an int.
    native_->timer.setInterval(std::max<std::int32_t>(period_, 1));
    native_->timer.setSingleShot(mode_ == ModeSingle);
    if (mode_ == ModeSingle || mode_ == ModeMultiple)
        native_->timer.start();
    else
        native_->timer.stop();
}

void Timer::Tick() {
    if (mode_ == ModeSingle)
        mode_ = ModeOff;
    RaiseEvent(EventAction, shared_from_this());
}

} // namespace Ovelund
