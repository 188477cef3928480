#include "framework/net/InternetHeaders.h"

#include <algorithm>
#include <limits>

namespace Ovelund {

namespace {

const String kEmpty;

char AsciiLower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

String WithoutLineBreaks(const String& text) {
    String result = text;
    std::erase_if(result, [](char c) { return c == '\r' || c == '\n'; });
    return result;
}

} // namespace

bool HeaderNamesEqual(const String& a, const String& b) {
    return std::ranges::equal(a, b, [](char x, char y) { return AsciiLower(x) == AsciiLower(y); });
}

std::int32_t InternetHeaders::Count() const {
    constexpr auto kMax = static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max());
    return static_cast<std::int32_t>(std::min(fields_.size(), kMax));
}

const String& InternetHeaders::Name(std::int32_t index) const {
    if (index < 0 || index >= Count()) {
        return kEmpty;
    }
    return fields_[static_cast<std::size_t>(index)].first;
}

const String& InternetHeaders::Value(std::int32_t index) const {
    if (index < 0 || index >= Count()) {
        return kEmpty;
    }
    return fields_[static_cast<std::size_t>(index)].second;
}

const String& InternetHeaders::Value(const String& name) const {
    return Value(name, 0);
}

const String& InternetHeaders::Value(const String& name, std::int32_t index) const {
    if (index < 0) {
        return kEmpty;
    }
    for (const auto& [fieldName, fieldValue] : fields_) {
        if (HeaderNamesEqual(fieldName, name) && index-- == 0) {
            return fieldValue;
        }
    }
    return kEmpty;
}

void InternetHeaders::SetHeader(const String& name, const String& value) {
    String cleanName = WithoutLineBreaks(name);
    if (cleanName.empty()) {
        return;
    }
    auto first =
        std::ranges::find_if(fields_, [&](const auto& f) { return HeaderNamesEqual(f.first, cleanName); });
    if (first == fields_.end()) {
        fields_.emplace_back(std::move(cleanName), WithoutLineBreaks(value));
        return;
    }
    first->second = WithoutLineBreaks(value);
    auto later = std::next(first);
    fields_.erase(std::remove_if(later, fields_.end(),
                                 [&](const auto& f) { return HeaderNamesEqual(f.first, cleanName); }),
                  fields_.end());
}

void InternetHeaders::AppendHeader(const String& name, const String& value) {
    String cleanName = WithoutLineBreaks(name);
    if (cleanName.empty()) {
        return;
    }
    fields_.emplace_back(std::move(cleanName), WithoutLineBreaks(value));
}

void InternetHeaders::DeleteHeader(const String& name) {
    String cleanName = WithoutLineBreaks(name);
    std::erase_if(fields_, [&](const auto& f) { return HeaderNamesEqual(f.first, cleanName); });
}

} // namespace Ovelund
