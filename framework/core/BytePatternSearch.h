#pragma once
// Finds every occurrence of a byte pattern in a text, left to right, in time linear in the lengths of both,
// however the pattern repeats itself (Knuth-Morris-Pratt): each text byte is read once, and the partial
// match carried over a mismatch comes from a table built once from the pattern. A plain search that compares
// the whole pattern again at every start takes time proportional to the product of the lengths instead.

#include "framework/core/ForTests.h"

#include <cstddef>
#include <string_view>
#include <vector>

namespace Ovelund {

class BytePatternSearch {
public:
    static constexpr std::size_t kNotFound = std::string_view::npos;

    // `pattern` is not empty; the object keeps views of `pattern` and `text`, which must outlive it.
    BytePatternSearch(std::string_view text, std::string_view pattern);

    // Searches on from byte offset `from`, forgetting any partial match found before it.
    void RestartAt(std::size_t from);
    // The offset of the next occurrence: the first that begins after the one returned before (occurrences
    // may overlap), or at the restart offset or later. kNotFound when there is none.
    std::size_t Next();
    // How many times a text byte was compared with a pattern byte so far: at most twice the bytes read.
    OVELUND_FOR_TESTS std::size_t Comparisons() const { return comparisons_; }

private:
    std::string_view text_;
    std::string_view pattern_;
    // border_[i]: the length of the longest proper prefix of pattern[0..i] that is also its suffix.
    std::vector<std::size_t> border_;
    std::size_t at_ = 0;      // the next text byte to read
    std::size_t matched_ = 0; // pattern bytes matched just before at_
    std::size_t comparisons_ = 0;
};

} // namespace Ovelund
