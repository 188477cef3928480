#include "framework/controls/Timer.h"

#include "framework/dispatch/Dispatch.h"
#include "framework/runtime/UIThread.h"

#include <QTimer>

#include <algorithm>

namespace Ovelund {

// The toolkit timer. A timer whose last reference goes inside its own tick (the window that holds it closed
// during the tick) must not delete the toolkit timer in the middle of its signal, so that deletion waits.
struct TimerNative {
    QTimer* timer = new QTimer;
    bool ticking = false;
    ~TimerNative() {
        timer->disconnect();
        timer->stop();
        if (ticking)
            timer->deleteLater();
        else
            delete timer;
    }
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
    TimerNative* native = native_.get();
    QObject::connect(native_->timer, &QTimer::timeout, [this, native] {
        Ref<Object> self = weak_from_this().lock();
        if (!self)
            return;
        WeakRef<Object> alive = self;
        native->ticking = true;
        Dispatch([this] { Tick(); });
        self.reset(); // may destroy this timer, which then leaves its toolkit timer to deleteLater
        if (!alive.expired())
            native->ticking = false;
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
