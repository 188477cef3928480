#pragma once
// Delegates bind a handler method to its target object. A delegate made with the weak-target flag holds its
// target through a weak reference, so a control's binding does not keep its window alive; invoking it after
// the target is gone raises NilObjectException instead of calling the handler.
//
// Every delegate keeps the signature text it was made with. The delegate of an event handler also knows the
// handler's parameters, which binding it to an event checks, its signature text included
// (RuntimeAddEventHandler); the texts of other delegates (menu handlers, start-up hooks) are kept as given.

#include "framework/core/ClassRecord.h"
#include "framework/core/EventArguments.h"
#include "framework/core/ForTests.h"
#include "framework/core/Object.h"
#include "framework/core/String.h"

#include <functional>
#include <optional>
#include <utility>

namespace Ovelund {

// An event handler's parameters: the class it takes its sender as, then the event's arguments.
struct HandlerParameters {
    const ClassRecord* sender;
    EventArguments arguments;

    // The signature text that describes them: "( PushButton )".
    String Text() const { return SignatureText(sender->FullName(), arguments); }
};

class DelegateBase : public Object {
    OVELUND_OBJECT
public:
    DelegateBase(String signature, bool weakTarget, std::optional<HandlerParameters> handler)
        : signature_(std::move(signature)), weakTarget_(weakTarget), handler_(std::move(handler)) {}

    const String& Signature() const { return signature_; }
    OVELUND_FOR_TESTS bool WeakTarget() const { return weakTarget_; }
    // The handler's parameters for the delegate of an event handler; none for other delegates.
    const std::optional<HandlerParameters>& Handler() const { return handler_; }

protected:
    Ref<Object> ResolveTarget() const {
        Ref<Object> target = weakTarget_ ? weak_.lock() : strong_;
        if (!target)
            throw NilObjectException("NilObjectException");
        return target;
    }
    void SetTarget(const Ref<Object>& target) {
        if (weakTarget_)
            weak_ = target;
        else
            strong_ = target;
    }

private:
    String signature_;
    bool weakTarget_;
    std::optional<HandlerParameters> handler_;
    Ref<Object> strong_;
    WeakRef<Object> weak_;
};

// A delegate whose handler takes `Args...` after its target and returns R.
template <class R, class... Args> class Delegate : public DelegateBase {
public:
    using Invoker = std::function<R(Object& target, Args...)>;

    Delegate(Invoker invoker, const Ref<Object>& target, String signature, bool weakTarget,
             std::optional<HandlerParameters> handler = std::nullopt)
        : DelegateBase(std::move(signature), weakTarget, std::move(handler)), invoker_(std::move(invoker)) {
        SetTarget(target);
    }

    R Invoke(Args... args) const {
        Ref<Object> target = ResolveTarget(); // keeps the target alive for the call
        return invoker_(*target, std::forward<Args>(args)...);
    }

private:
    Invoker invoker_;
};

// Makes a delegate for `method` of `target`: RuntimeCreateDelegate(&MyApp::Help_Action, app, "(  ) as
// Boolean", false). The invoker casts the resolved target back to its class.
template <class R, class T, class... Args, class Target>
Ref<Delegate<R, Args...>> RuntimeCreateDelegate(R (T::*method)(Args...), const Ref<Target>& target,
                                                String signature, bool weakTarget) {
    auto invoker = [method](Object& object, Args... args) -> R {
        return (static_cast<T&>(object).*method)(std::forward<Args>(args)...);
    };
    return std::make_shared<Delegate<R, Args...>>(
        std::move(invoker), std::static_pointer_cast<Object>(target), std::move(signature), weakTarget);
}

// Makes the delegate of an event handler, whose first parameter is the object that raised the event, typed
// as its framework class: RuntimeCreateDelegate(&MyWindow::OK_Action, window, "( PushButton )", true).
// Events pass their sender as an Object; the invoker casts it to the handler's class. The handler's
// parameters must be of types that events pass (EventArguments.h).
template <class T, class Sender, class... Args, class Target>
Ref<Delegate<void, Ref<Object>, Args...>> RuntimeCreateDelegate(void (T::*method)(Ref<Sender>, Args...),
                                                                const Ref<Target>& target, String signature,
                                                                bool weakTarget) {
    auto invoker = [method](Object& object, Ref<Object> sender, Args... args) {
        (static_cast<T&>(object).*method)(RuntimeCheckCast<Sender>(sender), std::forward<Args>(args)...);
    };
    return std::make_shared<Delegate<void, Ref<Object>, Args...>>(
        std::move(invoker), std::static_pointer_cast<Object>(target), std::move(signature), weakTarget,
        HandlerParameters{&Sender::Lookup(), EventArguments::Of<Args...>()});
}

// A delegate for a free function (no target).
template <class R, class... Args>
Ref<Delegate<R, Args...>> RuntimeCreateDelegate(R (*function)(Args...), String signature) {
    auto invoker = [function](Object&, Args... args) -> R {
        return function(std::forward<Args>(args)...);
    };
    return std::make_shared<Delegate<R, Args...>>(std::move(invoker), std::make_shared<Object>(),
                                                  std::move(signature), false);
}

} // namespace Ovelund
