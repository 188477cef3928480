#include "framework/core/Text.h"

#include "framework/core/BytePatternSearch.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstddef>
#include <limits>
#include <system_error>

namespace Ovelund {

namespace {

using Size = String::size_type;

bool IsContinuation(unsigned char byte) {
    return (byte & 0xC0) == 0x80;
}

// Bytes of the character that begins at `at` (< text.size()): the length of a well-formed UTF-8 sequence,
// or 1 for a byte that does not begin one.
Size CharLength(const String& text, Size at) {
    const auto byte = [&](Size k) {
        return static_cast<unsigned char>(text[at + k]);
    };
    const Size rest = text.size() - at;
    const unsigned char lead = byte(0);
    if (lead < 0x80) {
        return 1;
    }
    // The allowed range of the second byte excludes overlong forms, surrogates and values above U+10FFFF.
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    Size length = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        low = lead == 0xE0 ? 0xA0 : 0x80;
        high = lead == 0xED ? 0x9F : 0xBF;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;
    } else {
        return 1;
    }
    if (rest < length || byte(1) < low || byte(1) > high) {
        return 1;
    }
    for (Size k = 2; k < length; ++k) {
        if (!IsContinuation(byte(k))) {
            return 1;
        }
    }
    return length;
}

// Byte offset of the character at position `position` (from 1), or text.size() when the text is shorter.
Size OffsetOfPosition(const String& text, std::int64_t position) {
    Size at = 0;
    for (std::int64_t p = 1; p < position && at < text.size(); ++p) {
        at += CharLength(text, at);
    }
    return at;
}

// Whether byte offset `offset` (<= text.size()) is a character boundary. A character never begins with a
// continuation byte and holds at most four bytes, so only the nearest byte before `offset` that is no
// continuation byte, if it stands at most three bytes back, can begin a character that runs past it.
bool IsBoundary(const String& text, Size offset) {
    if (offset == text.size() || !IsContinuation(static_cast<unsigned char>(text[offset]))) {
        return true;
    }
    for (Size back = 1; back <= 3 && back <= offset; ++back) {
        const Size lead = offset - back;
        if (!IsContinuation(static_cast<unsigned char>(text[lead]))) {
            return lead + CharLength(text, lead) <= offset;
        }
    }
    return true;
}

// The occurrences of `find` (not empty) in `text`, from byte offset `from` on, that begin and end on
// character boundaries, so that they are the same characters and not the middle of one; in time linear in
// both lengths.
class CharacterSearch {
public:
    CharacterSearch(const String& text, const String& find, Size from)
        : text_(text), patternSize_(find.size()), bytes_(text, find) {
        bytes_.RestartAt(from);
    }
    // The byte offset of the next whole-character occurrence, or String::npos.
    Size Next() {
        for (Size hit = bytes_.Next(); hit != BytePatternSearch::kNotFound; hit = bytes_.Next()) {
            if (IsBoundary(text_, hit) && IsBoundary(text_, hit + patternSize_)) {
                return hit;
            }
        }
        return String::npos;
    }
    // Goes on after an occurrence at `hit` that was taken, with none overlapping it.
    void SkipPast(Size hit) { bytes_.RestartAt(hit + patternSize_); }

private:
    const String& text_;
    Size patternSize_;
    BytePatternSearch bytes_;
};

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

// A comma at `at` separates a group when exactly three digits follow it.
bool IsGroupComma(const String& text, Size at) {
    if (text[at] != ',' || text.size() - at < 4) {
        return false;
    }
    for (Size k = 1; k <= 3; ++k) {
        if (!IsDigit(text[at + k])) {
            return false;
        }
    }
    return at + 4 == text.size() || !IsDigit(text[at + 4]);
}

// Reads the leading number of `text`; see Text.h. The digits are handed to std::from_chars, which does not
// depend on the process locale, as "0.<significant digits>e<exponent>" so that the exponent stays small
// however many digits or zeros the text holds.
double ReadNumber(const String& text, bool groupCommas) {
    Size at = 0;
    while (at < text.size() && IsBlank(text[at])) {
        ++at;
    }
    bool negative = false;
    if (at < text.size() && (text[at] == '+' || text[at] == '-')) {
        negative = text[at] == '-';
        ++at;
    }
    String digits;
    std::int64_t wholeDigits = 0;
    while (at < text.size()) {
        if (IsDigit(text[at])) {
            digits += text[at];
            ++wholeDigits;
            ++at;
        } else if (groupCommas && wholeDigits > 0 && IsGroupComma(text, at)) {
            ++at;
        } else {
            break;
        }
    }
    if (at < text.size() && text[at] == '.') {
        ++at;
        while (at < text.size() && IsDigit(text[at])) {
            digits += text[at];
            ++at;
        }
    }
    if (digits.empty()) {
        return 0.0;
    }
    // Saturates far beyond any exponent that could still matter, so that it cannot overflow.
    constexpr std::int64_t kExponentLimit = 1'000'000'000'000;
    std::int64_t exponent = 0;
    if (at + 1 < text.size() && (text[at] == 'e' || text[at] == 'E')) {
        Size e = at + 1;
        bool negativeExponent = false;
        if (text[e] == '+' || text[e] == '-') {
            negativeExponent = text[e] == '-';
            ++e;
        }
        if (e < text.size() && IsDigit(text[e])) {
            while (e < text.size() && IsDigit(text[e])) {
                exponent = std::min(exponent * 10 + (text[e] - '0'), kExponentLimit);
                ++e;
            }
            if (negativeExponent) {
                exponent = -exponent;
            }
        }
    }
    const Size firstSignificant = digits.find_first_not_of('0');
    const double sign = negative ? -1.0 : 1.0;
    if (firstSignificant == String::npos) {
        return sign * 0.0;
    }
    // The value lies in [10^(magnitude-1), 10^magnitude).
    const std::int64_t magnitude = wholeDigits - static_cast<std::int64_t>(firstSignificant) + exponent;
    constexpr double kInfinity = std::numeric_limits<double>::infinity();
    if (magnitude > 400) {
        return sign * kInfinity;
    }
    if (magnitude < -400) {
        return sign * 0.0;
    }
    String clean = "0." + digits.substr(firstSignificant) + "e" + std::to_string(magnitude);
    double value = 0.0;
    const auto result = std::from_chars(clean.data(), clean.data() + clean.size(), value);
    if (result.ec == std::errc::result_out_of_range) {
        value = magnitude > 0 ? kInfinity : 0.0;
    }
    return sign * value;
}

// The shortest decimal digits that read back as `magnitude` (finite, >= 0), and where the decimal point goes:
// magnitude == 0.<digits> * 10^pointAfter.
void ShortestDigits(double magnitude, String& digits, std::int64_t& pointAfter) {
    char buffer[64];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, magnitude, std::chars_format::scientific);
    const String text(buffer, result.ptr);
    const Size e = text.find('e');
    digits.clear();
    for (Size k = 0; k < e; ++k) {
        if (text[k] != '.') {
            digits += text[k];
        }
    }
    std::int64_t exponent = 0;
    std::from_chars(text.data() + e + (text[e + 1] == '+' ? 2 : 1), text.data() + text.size(), exponent);
    pointAfter = exponent + 1;
}

String GroupByThrees(const String& whole) {
    String grouped;
    for (Size k = 0; k < whole.size(); ++k) {
        if (k > 0 && (whole.size() - k) % 3 == 0) {
            grouped += ',';
        }
        grouped += whole[k];
    }
    return grouped;
}

bool IsPlaceholder(char c) {
    return c == '#' || c == '0' || c == ',' || c == '.';
}

// The shortest decimal text that reads back as `value` (finite), "0" for either zero.
String ShortestText(double value) {
    if (value == 0) {
        return "0";
    }
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return String(buffer, result.ptr);
}

// A pattern's number section, [begin, end), and what its placeholders ask for.
struct NumberSection {
    Size begin = 0;
    Size end = 0;
    bool grouped = false;
    Size wholeRequired = 0;
    Size fractionRequired = 0;
    Size fractionMost = 0;
};

// The number section of `pattern`, which holds a digit placeholder: the run of placeholders around the first
// one.
NumberSection ReadNumberSection(const String& pattern) {
    NumberSection section;
    section.begin = pattern.find_first_of("#0");
    while (section.begin > 0 && IsPlaceholder(pattern[section.begin - 1])) {
        --section.begin;
    }
    section.end = section.begin;
    while (section.end < pattern.size() && IsPlaceholder(pattern[section.end])) {
        ++section.end;
    }
    bool inFraction = false;
    for (Size k = section.begin; k < section.end; ++k) {
        const char c = pattern[k];
        if (c == '.') {
            inFraction = true;
        } else if (!inFraction) {
            section.grouped = section.grouped || c == ',';
            section.wholeRequired += c == '0' ? 1 : 0;
        } else if (c != ',') {
            section.fractionMost += 1;
            section.fractionRequired += c == '0' ? 1 : 0;
        }
    }
    return section;
}

// A number's decimal digits before and after the point.
struct DecimalDigits {
    String whole;
    String fraction;
};

// The shortest digits of `magnitude` (finite, >= 0) laid out as whole and fraction digits; the fraction keeps
// every digit, also those past what a pattern shows.
DecimalDigits SplitAtPoint(double magnitude) {
    String digits;
    std::int64_t pointAfter = 0;
    ShortestDigits(magnitude, digits, pointAfter);
    DecimalDigits number;
    if (pointAfter <= 0) {
        number.fraction.assign(static_cast<Size>(-pointAfter), '0');
        number.fraction += digits;
    } else if (static_cast<Size>(pointAfter) >= digits.size()) {
        number.whole = digits;
        number.whole.append(static_cast<Size>(pointAfter) - digits.size(), '0');
    } else {
        number.whole = digits.substr(0, static_cast<Size>(pointAfter));
        number.fraction = digits.substr(static_cast<Size>(pointAfter));
    }
    return number;
}

// Rounds half away from zero at fraction digit `fractionMost`, the last one shown.
void RoundHalfAwayFromZero(DecimalDigits& number, Size fractionMost) {
    String& fraction = number.fraction;
    String& whole = number.whole;
    if (fraction.size() <= fractionMost) {
        return;
    }
    const bool up = fraction[fractionMost] >= '5';
    fraction.resize(fractionMost);
    if (!up) {
        return;
    }
    bool carry = true;
    for (Size k = fraction.size(); carry && k-- > 0;) {
        carry = fraction[k] == '9';
        fraction[k] = carry ? '0' : static_cast<char>(fraction[k] + 1);
    }
    for (Size k = whole.size(); carry && k-- > 0;) {
        carry = whole[k] == '9';
        whole[k] = carry ? '0' : static_cast<char>(whole[k] + 1);
    }
    if (carry) {
        whole.insert(0, 1, '1');
    }
}

// Whether every digit is zero, so that the number has no sign to show.
bool IsZero(const DecimalDigits& number) {
    return number.whole.find_first_not_of('0') == String::npos &&
           number.fraction.find_first_not_of('0') == String::npos;
}

// Drops the fraction's optional trailing zeros and the whole number's leading zeros, then pads both to the
// digits the section requires, and the whole number to at least one.
void FitToSection(DecimalDigits& number, const NumberSection& section) {
    String& fraction = number.fraction;
    String& whole = number.whole;
    while (fraction.size() > section.fractionRequired && fraction.back() == '0') {
        fraction.pop_back();
    }
    fraction.append(section.fractionRequired - std::min(section.fractionRequired, fraction.size()), '0');
    whole.erase(0, std::min(whole.find_first_not_of('0'), whole.size()));
    const Size wholeDigits = std::max<Size>(section.wholeRequired, 1);
    whole.insert(0, wholeDigits - std::min(wholeDigits, whole.size()), '0');
}

} // namespace

double CDbl(const String& text) {
    return ReadNumber(text, true);
}

double Val(const String& text) {
    return ReadNumber(text, false);
}

std::int64_t ToInt64(double value) {
    constexpr double kTwoTo63 = 9223372036854775808.0;
    if (std::isnan(value)) {
        return 0;
    }
    if (value >= kTwoTo63) {
        return std::numeric_limits<std::int64_t>::max();
    }
    if (value < -kTwoTo63) {
        return std::numeric_limits<std::int64_t>::min();
    }
    return static_cast<std::int64_t>(value);
}

String Str(std::int64_t value) {
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return String(buffer, result.ptr);
}

String Format(double value, const String& pattern) {
    if (std::isnan(value)) {
        return "NaN";
    }
    if (std::isinf(value)) {
        return value < 0 ? "-Infinity" : "Infinity";
    }
    if (pattern.find_first_of("#0") == String::npos) {
        return ShortestText(value);
    }
    const NumberSection section = ReadNumberSection(pattern);
    DecimalDigits number = SplitAtPoint(std::fabs(value));
    RoundHalfAwayFromZero(number, section.fractionMost);
    const bool zero = IsZero(number);
    FitToSection(number, section);

    String out;
    if (value < 0 && !zero) {
        out += '-';
    }
    out += pattern.substr(0, section.begin);
    out += section.grouped ? GroupByThrees(number.whole) : number.whole;
    if (!number.fraction.empty()) {
        out += '.';
        out += number.fraction;
    }
    out += pattern.substr(section.end);
    return out;
}

std::int64_t Len(const String& text) {
    std::int64_t count = 0;
    for (Size at = 0; at < text.size(); at += CharLength(text, at)) {
        ++count;
    }
    return count;
}

std::int64_t InStr(std::int64_t start, const String& text, const String& find) {
    if (find.empty()) {
        return 0;
    }
    const std::int64_t position = std::max<std::int64_t>(start, 1);
    const Size from = OffsetOfPosition(text, position);
    if (from >= text.size() || find.size() > text.size() - from) {
        return 0;
    }
    const Size hit = CharacterSearch(text, find, from).Next();
    if (hit == String::npos) {
        return 0;
    }
    std::int64_t passed = 0;
    for (Size at = from; at < hit; at += CharLength(text, at)) {
        ++passed;
    }
    return position + passed;
}

std::int64_t InStr(const String& text, const String& find) {
    return InStr(1, text, find);
}

String Mid(const String& text, std::int64_t start, std::int64_t length) {
    if (length <= 0) {
        return {};
    }
    if (start < 1) {
        // Positions start .. 0 do not exist; they still take their share of the length. Neither sum
        // overflows: length > 0 and start <= 0.
        length = length + start - 1;
        start = 1;
        if (length <= 0) {
            return {};
        }
    }
    const Size begin = OffsetOfPosition(text, start);
    Size end = begin;
    for (std::int64_t taken = 0; taken < length && end < text.size(); ++taken) {
        end += CharLength(text, end);
    }
    return text.substr(begin, end - begin);
}

String Mid(const String& text, std::int64_t start) {
    return text.substr(OffsetOfPosition(text, start));
}

String NthField(const String& text, const String& separator, std::int64_t n) {
    if (n < 1) {
        return {};
    }
    if (separator.empty()) {
        return n == 1 ? text : String();
    }
    CharacterSearch search(text, separator, 0);
    Size fieldBegin = 0;
    for (std::int64_t field = 1;; ++field) {
        const Size hit = search.Next();
        if (field == n) {
            return text.substr(fieldBegin, hit == String::npos ? String::npos : hit - fieldBegin);
        }
        if (hit == String::npos) {
            return {};
        }
        search.SkipPast(hit);
        fieldBegin = hit + separator.size();
    }
}

} // namespace Ovelund
