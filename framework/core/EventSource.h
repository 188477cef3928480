#pragma once
// The per-object event table of controls, timers and sockets: event numbers count within the object's class
// after those of its bases, and the class record declares each event with the arguments it passes. Raising
// event N calls the delegate bound at N with the sender and the event's arguments; an unbound event does
// nothing.

#include "framework/core/Delegate.h"

#include <map>
#include <string>

namespace Ovelund {

// Binds `delegate` to event `number` of `source` (a control, timer or socket), in place of any handler bound
// there before. Binding checks the handler against the event that the source's class declares and raises
// RuntimeException, binding nothing, when the source raises no events, when its class declares no event
// `number` or never raises it, when the delegate is no event handler's, when the handler takes the sender
// as a class the source is not or takes other arguments than the event passes, and when the delegate's
// signature text does not describe the handler ("( PushButton )" for a handler that takes a PushButton).
void RuntimeAddEventHandler(Object& source, int number, Ref<DelegateBase> delegate);

class EventSource {
public:
    virtual ~EventSource() = default;

protected:
    // Calls the handler bound at `number`. Binding has checked it against the event's declaration, so the
    // only mismatch left is the framework raising the event with other arguments than it declares, which
    // raises RuntimeException.
    template <class... Args> void RaiseEvent(int number, Ref<Object> sender, Args... args) {
        auto it = handlers_.find(number);
        if (it == handlers_.end())
            return;
        Ref<DelegateBase> keep = it->second; // the handler may rebind or drop the table entry
        auto* delegate = dynamic_cast<Delegate<void, Ref<Object>, Args...>*>(keep.get());
        if (!delegate)
            throw RuntimeException("event " + std::to_string(number) + " of " + sender->Record().FullName() +
                                   " raised with other arguments than it declares");
        delegate->Invoke(std::move(sender), std::move(args)...);
    }

private:
    friend void RuntimeAddEventHandler(Object& source, int number, Ref<DelegateBase> delegate);
    std::map<int, Ref<DelegateBase>> handlers_;
};

} // namespace Ovelund
