#include "framework/core/BytePatternSearch.h"

namespace Ovelund {

BytePatternSearch::BytePatternSearch(std::string_view text, std::string_view pattern)
    : text_(text), pattern_(pattern), border_(pattern.size(), 0) {
    std::size_t k = 0;
    for (std::size_t i = 1; i < pattern_.size(); ++i) {
        while (k > 0 && pattern_[i] != pattern_[k]) {
            k = border_[k - 1];
        }
        if (pattern_[i] == pattern_[k]) {
            ++k;
        }
        border_[i] = k;
    }
}

void BytePatternSearch::RestartAt(std::size_t from) {
    at_ = from;
    matched_ = 0;
}

std::size_t BytePatternSearch::Next() {
    const std::size_t m = pattern_.size();
    while (at_ < text_.size()) {
        if (matched_ == 0) {
            // Nothing matched: skip to the next byte that can begin a match. This reads no byte twice.
            at_ = text_.find(pattern_[0], at_);
            if (at_ == kNotFound) {
                at_ = text_.size();
                return kNotFound;
            }
        }
        const char byte = text_[at_];
        // Each failed comparison shortens the partial match, which grows by one byte at most per byte read.
        while (matched_ > 0 && byte != pattern_[matched_]) {
            ++comparisons_;
            matched_ = border_[matched_ - 1];
        }
        ++comparisons_;
        if (byte == pattern_[matched_]) {
            ++matched_;
        }
        ++at_;
        if (matched_ == m) {
            matched_ = border_[m - 1];
            return at_ - m;
        }
    }
    return kNotFound;
}

} // namespace Ovelund
