#pragma once
// Class records: every framework and program class describes itself once, in its own source file, with its
// full class name, its base, its event table, its properties and a factory. Lookups of properties walk up the
// bases and match names without regard to letter case.

#include "framework/core/Color.h"
#include "framework/core/EventArguments.h"
#include "framework/core/ForTests.h"
#include "framework/core/Object.h"
#include "framework/core/String.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>
#include <variant>
#include <vector>

namespace Ovelund {

enum class PropertyType { Int32, Boolean, Color, String, Single, Byte };

using PropertyValue = std::variant<std::int32_t, bool, Color, String, float, std::uint8_t>;

struct PropertyRecord {
    String name;
    PropertyType type;
    std::function<void(Object&, const PropertyValue&)> set;
    std::function<PropertyValue(const Object&)> get; // may be empty for write-only properties
};

// One entry of a class's event table: the event's number and name and, for an event the class raises, the
// arguments it passes its handlers after the sender. Window classes enter their handlers of window events
// here; the handlers of other objects' events are bound per object (RuntimeAddEventHandler).
struct EventRecord {
    int number;
    String name;
    std::optional<EventArguments> arguments; // none: the event is never raised, and takes no handler
    std::function<void(Object&)> handler;
};

class ClassRecord {
public:
    using Factory = std::function<Ref<Object>()>;

    const String& FullName() const { return fullName_; }
    const ClassRecord* Base() const { return base_; }
    const std::vector<EventRecord>& Events() const { return events_; }
    const std::vector<PropertyRecord>& Properties() const { return properties_; }

    bool InheritsFrom(const ClassRecord& other) const;
    // The property of this class or of a base, by name without regard to letter case; nullptr if none.
    const PropertyRecord* FindProperty(std::string_view name) const;
    // The event entry with that number, nullptr if the class has none.
    const EventRecord* FindEvent(int number) const;
    // A new object of this class, or nil for classes that cannot be made on their own.
    Ref<Object> NewObject() const { return factory_ ? factory_() : nullptr; }

private:
    template <class T> friend class ClassBuilder;
    String fullName_;
    const ClassRecord* base_ = nullptr;
    std::vector<EventRecord> events_;
    std::vector<PropertyRecord> properties_;
    Factory factory_;
};

namespace detail {
template <class V> constexpr PropertyType PropertyTypeOf() {
    using D = std::remove_cvref_t<V>;
    if constexpr (std::is_same_v<D, bool>)
        return PropertyType::Boolean;
    else if constexpr (std::is_same_v<D, std::int32_t>)
        return PropertyType::Int32;
    else if constexpr (std::is_same_v<D, Color>)
        return PropertyType::Color;
    else if constexpr (std::is_same_v<D, String>)
        return PropertyType::String;
    else if constexpr (std::is_same_v<D, float>)
        return PropertyType::Single;
    else if constexpr (std::is_same_v<D, std::uint8_t>)
        return PropertyType::Byte;
    else
        static_assert(sizeof(D) == 0, "unsupported property type");
}
} // namespace detail

// Builds a class record:
//   static const ClassRecord record = ClassBuilder<Label>("Label", &RectControl::Lookup())
//       .Property("Text", &Label::SetText, &Label::Text)
//       .Build();
template <class T> class ClassBuilder {
public:
    ClassBuilder(String fullName, const ClassRecord* base) {
        record_.fullName_ = std::move(fullName);
        record_.base_ = base;
        if (base)
            record_.events_ = base->events_;
        if constexpr (std::is_default_constructible_v<T> && !std::is_abstract_v<T>)
            record_.factory_ = [] {
                return std::static_pointer_cast<Object>(std::make_shared<T>());
            };
    }

    // The setter (and getter) may be members of T or of one of its bases.
    template <class C, class V, class G = std::nullptr_t>
    ClassBuilder& Property(String name, void (C::*setter)(V), G getter = nullptr) {
        static_assert(std::is_base_of_v<C, T>, "the setter must be a member of the class or of a base");
        using D = std::remove_cvref_t<V>;
        PropertyRecord property{std::move(name),
                                detail::PropertyTypeOf<V>(),
                                [setter](Object& object, const PropertyValue& value) {
                                    (static_cast<T&>(object).*setter)(std::get<D>(value));
                                },
                                {}};
        if constexpr (!std::is_same_v<G, std::nullptr_t>)
            property.get = [getter](const Object& object) {
                return PropertyValue(D((static_cast<const T&>(object).*getter)()));
            };
        record_.properties_.push_back(std::move(property));
        return *this;
    }

    // Declares event `number`, which objects of the class raise with their sender and then arguments of the
    // types Args: .Event<String, std::int32_t>(EventPageReceived, "PageReceived"). Each event number is
    // declared once, by the class that adds the event.
    template <class... Args> ClassBuilder& Event(int number, String name) {
        return Declare(number, std::move(name), EventArguments::Of<Args...>());
    }

    // Declares event `number`, which the framework never raises: the table keeps its number and name, and no
    // handler can be bound to it or entered for it.
    ClassBuilder& NeverRaised(int number, String name) {
        return Declare(number, std::move(name), std::nullopt);
    }

    // Enters a window class's handler for one of the window events that its base declares and raises, with
    // the window alone.
    ClassBuilder& Handles(int number, void (T::*handler)()) {
        EventRecord* event = Find(number);
        if (!event || !event->arguments || event->arguments->types != typeid(std::tuple<>))
            throw RuntimeException(record_.fullName_ + " handles event " + std::to_string(number) +
                                   ", which its base does not raise with the window alone");
        event->handler = [handler](Object& object) {
            (static_cast<T&>(object).*handler)();
        };
        return *this;
    }

    // Lets a base class add the properties it keeps but each subclass declares for itself.
    ClassBuilder& With(void (*add)(ClassBuilder&)) {
        add(*this);
        return *this;
    }

    ClassBuilder& NoFactory() {
        record_.factory_ = nullptr;
        return *this;
    }

    ClassRecord Build() { return std::move(record_); }

private:
    EventRecord* Find(int number) {
        for (auto& event : record_.events_)
            if (event.number == number)
                return &event;
        return nullptr;
    }

    ClassBuilder& Declare(int number, String name, std::optional<EventArguments> arguments) {
        if (const EventRecord* declared = Find(number))
            throw RuntimeException(record_.fullName_ + " declares event " + std::to_string(number) + " " +
                                   name + ", which is " + declared->name + " already");
        record_.events_.push_back(EventRecord{number, std::move(name), std::move(arguments), {}});
        return *this;
    }

    ClassRecord record_;
};

// The runtime's list of registered classes, in registration order.
void RuntimeRegisterClass(const ClassRecord& record);
OVELUND_FOR_TESTS const std::vector<const ClassRecord*>& RuntimeRegisteredClasses();
OVELUND_FOR_TESTS const ClassRecord* RuntimeFindClass(std::string_view fullName);
// A new object of the class (the record's factory); nil if it has none.
Ref<Object> RuntimeNewObject(const ClassRecord& record);

} // namespace Ovelund
