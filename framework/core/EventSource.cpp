#include "framework/core/EventSource.h"

namespace Ovelund {

void RuntimeAddEventHandler(Object& source, int number, Ref<DelegateBase> delegate) {
    const ClassRecord& record = source.Record();
    auto* events = dynamic_cast<EventSource*>(&source);
    if (!events)
        throw RuntimeException(record.FullName() + " raises no events");
    const EventRecord* event = record.FindEvent(number);
    if (!event)
        throw RuntimeException(record.FullName() + " has no event " + std::to_string(number));
    const String what = "event " + std::to_string(number) + " " + event->name + " of " + record.FullName();
    if (!event->arguments)
        throw RuntimeException(what + " is never raised and takes no handler");
    const auto& handler = CheckNil(delegate).Handler();
    if (!handler)
        throw RuntimeException(what + " takes an event handler, not the delegate \"" + delegate->Signature() +
                               "\"");
    if (!source.IsA(*handler->sender) || handler->arguments.types != event->arguments->types)
        throw RuntimeException(what + " takes a handler " +
                               SignatureText(record.FullName(), *event->arguments) + ", not " +
                               handler->Text());
    if (delegate->Signature() != handler->Text())
        throw RuntimeException("the signature text \"" + delegate->Signature() + "\" bound to " + what +
                               " does not describe its handler " + handler->Text());
    events->handlers_[number] = std::move(delegate);
}

} // namespace Ovelund
