#include "framework/controls/Timer.h"

#include "framework/dispatch/Dispatch.h"
#include "framework/qt/DeferredPtr.h"
#include "framework/runtime/UIThread.h"

#include <QTimer>

#include <algorithm>

namespace Ovelund {

// The toolkit timer. A timer whose last reference goes inside its own tick (the window that holds it closed
// during the tick) lets its toolkit timer go in the middle of that timer's signal, so its deletion waits.
struct TimerNative {
    DeferredPtr<QTimer> timer{new QTimer};
    ~TimerNative() { timer->stop(); }
};

const ClassRecord& Timer::Lookup() {
    static const ClassRecord record = ClassBuilder<Timer>("Timer", &Object::Lookup())
                                          .Event<>(EventAction, "Action")
                                          .Property("Mode", &Timer::SetMode, &Timer::Mode)
                                          .Property("Period", &Timer::SetPeriod, &Timer::Period)
                                          .Build();
    return record;
}

Timer::Timer() : native_(std::make_unique<TimerNative>()) {
    native_->timer->setTimerType(Qt::PreciseTimer);
    QObject::connect(native_->timer.get(), &QTimer::timeout, [this] {
        // Held through the tick, whose handler may drop the last reference to this timer.
        if (Ref<Object> self = weak_from_this().lock())
            Dispatch([this] { Tick(); });
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
    CheckUIThread();
    Apply();
}

void Timer::Apply() {
    // A period below 1 ms is taken as 1 ms; the toolkit's timers take an int.
    native_->timer->setInterval(std::max<std::int32_t>(period_, 1));
    native_->timer->setSingleShot(mode_ == ModeSingle);
    if (mode_ == ModeSingle || mode_ == ModeMultiple)
        native_->timer->start();
    else
        native_->timer->stop();
}

void Timer::Tick() {
    CheckUIThread();
    if (mode_ == ModeSingle)
        mode_ = ModeOff;
    RaiseEvent(EventAction, shared_from_this());
}

} // namespace Ovelund
