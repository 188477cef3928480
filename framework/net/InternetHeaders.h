#pragma once
// An ordered list of (name, value) header fields, for a request being built and for a reply received.
//
// - Names are looked up without regard to ASCII case ("content-length" finds "Content-length"); bytes outside
//   ASCII compare exactly. The name is kept as written.
// - Indexes are 0-based. An index out of range (negative too) reads as the empty text.
// - CR and LF are removed from names and values on the way in, so no field can end a request line early and
//   smuggle in another. A name that is empty after that is not stored.

#include "framework/core/EventArguments.h"
#include "framework/core/String.h"

#include <cstdint>
#include <utility>
#include <vector>

namespace Ovelund {

class InternetHeaders {
public:
    // Number of fields, duplicates included.
    std::int32_t Count() const;
    const String& Name(std::int32_t index) const;
    const String& Value(std::int32_t index) const;

    // The value of the first field called `name`, or "" when there is none.
    const String& Value(const String& name) const;
    // The value of the index-th field called `name` (0 is the first), or "" when there are fewer.
    const String& Value(const String& name, std::int32_t index) const;

    // Gives the first field called `name` this value where it stands and removes any later ones of that name;
    // adds the field at the end when there is none.
    void SetHeader(const String& name, const String& value);
    // Adds a field at the end, even when one of that name exists.
    void AppendHeader(const String& name, const String& value);
    // Removes every field called `name`.
    void DeleteHeader(const String& name);

private:
    std::vector<std::pair<String, String>> fields_;
};

// Whether two header names are equal without regard to ASCII case.
bool HeaderNamesEqual(const String& a, const String& b);

// PageReceived passes the reply's headers; signature texts name them so.
template <> struct SignatureName<Ref<InternetHeaders>> {
    static String Text() { return "InternetHeaders"; }
};

} // namespace Ovelund
