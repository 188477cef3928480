// InStr and NthField against the byte search they used before (std::string::find, which compares the whole
// pattern again at every place where its first byte stands), on ASCII text. The old InStr then counted the
// characters before the hit, as the new one does; the baseline does too. Prints the time of each and the
// ratio old / new:
// - the hostile case, a pattern of 500 KB ("a" repeated, then "b") in 1 MB of "a": quadratic before;
// - the update check's own searches, a tag in a small document and the fields of a version, repeated.

#include "framework/core/Text.h"

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <string>

using Ovelund::InStr;
using Ovelund::Len;
using Ovelund::NthField;
using Ovelund::String;

namespace {

using Clock = std::chrono::steady_clock;

template <class F> double Seconds(int repeats, F&& work) {
    const auto start = Clock::now();
    for (int k = 0; k < repeats; ++k)
        work();
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// The old searches on ASCII text: the first hit from a position, and field n between separators.
std::int64_t PlainInStr(std::int64_t start, const String& text, const String& find) {
    const auto hit = text.find(find, static_cast<std::size_t>(start < 1 ? 0 : start - 1));
    return hit == String::npos ? 0 : Len(String(text.data(), hit)) + 1;
}

String PlainNthField(const String& text, const String& separator, std::int64_t n) {
    std::size_t begin = 0;
    for (std::int64_t field = 1;; ++field) {
        const auto hit = text.find(separator, begin);
        if (field == n)
            return text.substr(begin, hit == String::npos ? String::npos : hit - begin);
        if (hit == String::npos)
            return {};
        begin = hit + separator.size();
    }
}

volatile std::int64_t sink = 0;

void Report(const char* what, double oldSeconds, double newSeconds) {
    std::printf("%-44s old %10.6f s   new %10.6f s   old/new %9.1f\n", what, oldSeconds, newSeconds,
                oldSeconds / newSeconds);
}

} // namespace

int main() {
    const String text(1'000'000, 'a');
    const String pattern = String(499'999, 'a') + "b";
    // The hostile case once each: the old search takes seconds.
    const double oldHostile = Seconds(1, [&] { sink = sink + PlainInStr(1, text, pattern); });
    const double newHostile = Seconds(1, [&] { sink = sink + InStr(1, text, pattern); });
    Report("InStr, 500 KB pattern in 1 MB", oldHostile, newHostile);
    const double oldFields = Seconds(1, [&] { sink = sink + PlainNthField(text, pattern, 2).size(); });
    const double newFields = Seconds(1, [&] { sink = sink + NthField(text, pattern, 2).size(); });
    Report("NthField, 500 KB separator in 1 MB", oldFields, newFields);

    const String document = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Update>\n<CurrentVersion>3.1.0"
                            "</CurrentVersion>\n<Description>Faster searches.</Description>\n<Free>Yes</Free>"
                            "\n</Update>\n";
    constexpr int repeats = 1'000'000;
    const double oldTag = Seconds(repeats, [&] { sink = sink + PlainInStr(1, document, "</Description>"); });
    const double newTag = Seconds(repeats, [&] { sink = sink + InStr(1, document, "</Description>"); });
    Report("InStr, a tag in the update document", oldTag, newTag);
    const double oldVersion = Seconds(repeats, [&] { sink = sink + PlainNthField("3.1.0", ".", 3).size(); });
    const double newVersion = Seconds(repeats, [&] { sink = sink + NthField("3.1.0", ".", 3).size(); });
    Report("NthField, field 3 of a version", oldVersion, newVersion);
    return 0;
}
