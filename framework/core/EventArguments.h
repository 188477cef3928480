#pragma once
// The types an event passes its handlers after the sender, and the names that signature texts give them.
//
// A signature text names a handler's parameters between "( " and " )", separated by a comma and a blank: the
// class the handler takes its sender as, then the event's arguments ("( PushButton )",
// "( HTTPSocket, String, Int32, InternetHeaders, String )"). Each type that an event may pass has one name:
// String and Int32 for the framework's text and 32-bit integers, the class's full name for a framework
// object. A class that is no framework object names itself with a specialisation of SignatureName next to
// its declaration (InternetHeaders.h). A type without a name cannot be an event's argument.

#include "framework/core/Object.h"
#include "framework/core/String.h"

#include <cstdint>
#include <tuple>
#include <typeindex>
#include <typeinfo>

namespace Ovelund {

template <class T> struct SignatureName;

template <> struct SignatureName<String> {
    static String Text() { return "String"; }
};
template <> struct SignatureName<std::int32_t> {
    static String Text() { return "Int32"; }
};
template <class T> struct SignatureName<Ref<T>> {
    static String Text() { return T::Lookup().FullName(); }
};

struct EventArguments {
    std::type_index types; // of std::tuple<Args...>
    String names;          // "String, Int32"; empty for an event that passes only its sender

    template <class... Args> static EventArguments Of() {
        String names;
        ((names += (names.empty() ? "" : ", ") + SignatureName<Args>::Text()), ...);
        return {typeid(std::tuple<Args...>), std::move(names)};
    }
};

// The signature text of a handler that takes its sender as `sender` and then `arguments`.
inline String SignatureText(const String& sender, const EventArguments& arguments) {
    return "( " + sender + (arguments.names.empty() ? "" : ", " + arguments.names) + " )";
}

} // namespace Ovelund
