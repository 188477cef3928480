#pragma once
// Delegates bind a handler method to its target object. A delegate made with the weak-target flag holds its
// target through a weak reference, so a control's binding does not keep its window alive; invoking it after
// the target is gone raises NilObjectException instead of calling the handler.

#include "framework/core/ClassRecord.h"
#include "framework/core/Object.h"
#include "framework/core/String.h"

#include <functional>
#include <utility>

namespace Ovelund {

class DelegateBase : public Object {
    OVELUND_OBJECT
public:
    DelegateBase(String signature, bool weakTarget)
        : signature_(std::move(signature)), weakTarget_(weakTarget) {}

    const String& Signature() const { return signature_; }
    bool WeakTarget() const { return weakTarget_; }

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
    Ref<Object> strong_;
    WeakRef<Object> weak_;
};

// A delegate whose handler takes `Args...` after its target and returns R.
template <class R, class... Args> class Delegate : public DelegateBase {
public:
    using Invoker = std::function<R(Object& target, Args...)>;

    Delegate(Invoker invoker, const Ref<Object>& target, String signature, bool weakTarget)
        : DelegateBase(std::move(signature), weakTarget), invoker_(std::move(invoker)) {
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

// Makes the delegate of a control event handler, whose first parameter is the control that raised the event,
// typed as its framework class: RuntimeCreateDelegate(&MyWindow::OK_Action, window, "( PushButton )", true).
// Events pass their sender as an Object; the invoker casts it to the handler's class.
template <class T, class Sender, class... Args, class Target>
Ref<Delegate<void, Ref<Object>, Args...>> RuntimeCreateDelegate(void (T::*method)(Ref<Sender>, Args...),
                                                                const Ref<Target>& target, String signature,
                                                                bool weakTarget) {
    auto invoker = [method](Object& object, Ref<Object> sender, Args... args) {
        (static_cast<T&>(object).*method)(RuntimeCheckCast<Sender>(sender), std::forward<Args>(args)...);
    };
    return std::make_shared<Delegate<void, Ref<Object>, Args...>>(
        std::move(invoker), std::static_pointer_cast<Object>(target), std::move(signature), weakTarget);
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
