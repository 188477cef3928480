#pragma once
// Text and number functions. Text is UTF-8 (see String.h); positions and lengths count characters from 1.
//
// Characters: a well-formed UTF-8 sequence is one character. Every byte that does not begin a complete,
// well-formed sequence (stray continuation byte, truncated or overlong sequence, surrogate, value above
// U+10FFFF) counts as one character of its own, so every byte of any text belongs to exactly one character.
//
// CDbl reads the leading number of a text: ASCII blanks before it are skipped, then an optional '+' or '-',
// digits with an optional '.' fraction and an optional exponent ("e3", "E-2"; only when digits follow the
// 'e'). Whatever follows the number is ignored ("12kg" is 12). In the whole-number part a comma is read as a
// group separator when exactly three digits follow it and no further digit ("1,009" and "1,234,567,890"
// as Format writes them); any other comma ends the number ("1,2" is 1). Text without a leading number, and
// words such as "inf" or "nan", read as 0. A number beyond the range of double reads as +/-infinity; one too
// small to be represented reads as 0. The decimal point is always '.', whatever the process locale says.
//
// Val reads a number the same way but knows no group separators ("1,009" is 1): it reads version fields,
// which never have them. Leading blanks are skipped (" 3" is 3), "03" is 3 and "" is 0.
//
// ToInt64 cuts fractions toward zero (2.9 -> 2, -2.9 -> -2); NaN gives 0, values at or above 2^63 give
// INT64_MAX and values below -2^63 give INT64_MIN.
//
// Format writes a number under a pattern. The pattern's number section is the run of the placeholders '#',
// '0', ',' and '.' that holds the first '#' or '0'; text before it is written before the number and text
// after it after the number, unchanged. In the section, before the first '.': each '0' is a required digit
// (leading zeros pad the whole number to that many digits), '#' an optional one, and a ',' anywhere groups
// the whole number's digits by threes with commas. After the '.': each '0' is a required fraction digit, each
// '#' an optional one that is left out when it would be a trailing zero; the '.' itself is written only when
// a fraction digit is. The number is rounded to the pattern's fraction digits, halves away from zero,
// starting from the shortest decimal text that reads back as the same double (so 0.15 under "0.0" is "0.2",
// as written). A number is never cut short: all of its whole digits are written, and at least one, so 0 under
// "###,###,###,###" is "0". Whole numbers up to 2^53 are written exactly; beyond that, the digits past those
// of the shortest text are written as zeros (2^60 is "1152921504606847000"). A negative number gets "-"
// before everything else, unless it rounds to zero. Infinity gives "Infinity" or "-Infinity" and NaN gives
// "NaN", whatever the pattern. A pattern without '#' or '0' gives the shortest decimal text that reads back
// as the same double ("2.5", "1e+20").
//
// InStr finds `find` in `text` exactly (letter case matters, bytes must match), beginning at a character of
// `text` at position `start` or later; it returns the position, or 0 when there is none. A start below 1
// searches the whole text; a start beyond the end finds nothing. An empty `find` is never found (0), so a
// loop that steps from one hit to the next always ends.
//
// Mid returns the characters at positions start .. start+length-1 that exist in the text: a start below 1
// does not move the window, so Mid("abcdef", 0, 3) is "ab". A length of 0 or below gives "". Without a
// length, Mid returns the rest of the text from start (the whole text for a start below 1).
//
// NthField splits `text` at every occurrence of `separator` (exact match, as InStr) and returns field n,
// counted from 1; an n below 1 or beyond the last field gives "". With an empty separator the whole text is
// the only field.
//
// InStr and NthField take time linear in the lengths of the text and of what they look for, however both
// repeat themselves (see BytePatternSearch.h).

#include "framework/core/String.h"

#include <cstdint>

namespace Ovelund {

double CDbl(const String& text);
double Val(const String& text);
std::int64_t ToInt64(double value);
String Str(std::int64_t value);
String Format(double value, const String& pattern);

std::int64_t Len(const String& text);
std::int64_t InStr(std::int64_t start, const String& text, const String& find);
std::int64_t InStr(const String& text, const String& find);
String Mid(const String& text, std::int64_t start, std::int64_t length);
String Mid(const String& text, std::int64_t start);
String NthField(const String& text, const String& separator, std::int64_t n);

} // namespace Ovelund
