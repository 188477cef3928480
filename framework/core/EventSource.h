#pragma once
// The per-object event table of controls, timers and sockets: event numbers count within the object's class
// after those of its bases. Raising event N calls the delegate bound at N with the sender and the event's
// arguments; an unbound event does nothing.

#include "framework/core/Delegate.h"

#include <map>
#include <string>

namespace Ovelund {

class EventSource {
public:
    virtual ~EventSource() = default;

    void AddEventHandler(int number, Ref<DelegateBase> delegate) { handlers_[number] = std::move(delegate); }

protected:
    // Calls the handler bound at `number`. A delegate whose signature does not fit the event's arguments is
    // a binding error and raises RuntimeException.
    template <class... Args> void RaiseEvent(int number, Ref<Object> sender, Args... args) {
        auto it = handlers_.find(number);
        if (it == handlers_.end())
            return;
        Ref<DelegateBase> keep = it->second; // the handler may rebind or drop the table entry
        auto* delegate = dynamic_cast<Delegate<void, Ref<Object>, Args...>*>(keep.get());
        if (!delegate)
            throw RuntimeException("handler signature does not match event " + std::to_string(number));
        delegate->Invoke(std::move(sender), std::move(args)...);
    }

private:
    std::map<int, Ref<DelegateBase>> handlers_;
};

// Binds `delegate` to event `number` of `source` (a control, timer or socket).
void RuntimeAddEventHandler(Object& source, int number, Ref<DelegateBase> delegate);

} // namespace Ovelund
