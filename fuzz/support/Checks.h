#pragma once
// The checks every fuzz target makes: a broken expectation ends the run, naming what broke.

#include "framework/net/InternetHeaders.h"

#include <cstdio>
#include <cstdlib>

namespace fuzz_support {

inline void Require(bool holds, const char* what) {
    if (holds)
        return;
    std::fprintf(stderr, "fuzz: broken: %s\n", what);
    std::abort();
}

// The same fields with the same names and values, in the same order.
inline bool SameHeaders(const Ovelund::InternetHeaders& a, const Ovelund::InternetHeaders& b) {
    if (a.Count() != b.Count())
        return false;
    for (std::int32_t i = 0; i < a.Count(); ++i)
        if (a.Name(i) != b.Name(i) || a.Value(i) != b.Value(i))
            return false;
    return true;
}

} // namespace fuzz_support
