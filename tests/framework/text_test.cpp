#include "framework/core/BytePatternSearch.h"
#include "framework/core/Text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <vector>

using namespace Ovelund;

namespace {

constexpr std::int64_t kMin = std::numeric_limits<std::int64_t>::min();
constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
const double kInf = std::numeric_limits<double>::infinity();
const double kNaN = std::numeric_limits<double>::quiet_NaN();

struct ReadCase {
    String text;
    double expected;
};

TEST(TextCDbl, ReadsPlainGroupedAndHostileText) {
    const std::vector<ReadCase> cases = {
        {"1009", 1009},
        {"-3", -3},
        {"+5", 5},
        {"2.5", 2.5},
        {"1e3", 1000},
        {"1E-2", 0.01},
        {".5", 0.5},
        {"5.", 5},
        {"1,009", 1009},
        {"997", 997},
        {"9,999,999,967", 9999999967.0},
        {"9,999,999,999", 9999999999.0},
        {"1,009,000", 1009000},
        {"-1,009.5", -1009.5},
        {"0,001", 1},
        // Commas that do not separate groups of three end the number.
        {"1,2", 1},
        {"1,2345", 1},
        {"12,345,67", 12345},
        {"1,,009", 1},
        {",123", 0},
        // Blanks before the number are skipped; whatever follows it is ignored.
        {"  42  ", 42},
        {"\t\n7", 7},
        {"12kg", 12},
        {"3.1.0", 3.1},
        {"1e", 1},
        {"1e+", 1},
        {"2e3x", 2000},
        // No number at all.
        {"", 0},
        {"   ", 0},
        {"abc", 0},
        {"-", 0},
        {".", 0},
        {"- 3", 0},
        {"0x10", 0},
        {"inf", 0},
        {"-inf", 0},
        {"nan", 0},
        {"Infinity", 0},
        {"NaN", 0},
        // Beyond the range of double.
        {"1e400", kInf},
        {"-1e400", -kInf},
        {"1e-400", 0},
        {"1e99999999999999999999999999", kInf},
        {"-1e99999999999999999999999999", -kInf},
        {"1e-99999999999999999999999999", 0},
        {"0e99999999999999999999999999", 0},
        {String(400, '9'), kInf},
        {"1" + String(308, '0'), 1e308},
        {"1" + String(309, '0'), kInf},
        {"179769313486231570814527423731704356798070567525844996598917476803157260780028538760589558632766878"
         "171540458953514382464234321326889464182768467546703537516986049910576551282076245490090389328944075"
         "868508455133942304583236903222948165808559332123348274797826204144723168738177180919299881250404026"
         "184124858368",
         std::numeric_limits<double>::max()},
        {"0." + String(500, '0') + "1e501", 1},
        {String(1000, '0') + "7", 7},
        {"4.9e-324", std::numeric_limits<double>::denorm_min()},
        // Bytes that are not UTF-8 are not digits.
        {"\xFF"
         "12",
         0},
        {"12\xFF", 12},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE("CDbl(\"" + c.text.substr(0, 60) + "\")");
        EXPECT_EQ(CDbl(c.text), c.expected);
    }
}

TEST(TextCDbl, ReadsBackWhatFormatWritesWithGroups) {
    for (const double value : {0.0, 1.0, 12.0, 997.0, 1009.0, 999999.0, 1000000.0, 9999999967.0, 9999999999.0,
                               123456789012345.0, 999999999999999.0, 1e15, -1009.0, -9999999967.0}) {
        SCOPED_TRACE(value);
        EXPECT_EQ(CDbl(Format(value, "###,###,###,###")), value);
    }
}

TEST(TextCDbl, SubtractsGroupedAndPlainNumbersAsShown) {
    EXPECT_EQ(CDbl("1,009") - CDbl("997"), 12);
}

TEST(TextVal, ReadsLeadingDigitsLikeDottedFields) {
    const std::vector<ReadCase> cases = {
        {"03", 3},  {"3", 3},     {"", 0},      {" 3", 3},       {"3abc", 3}, {"10", 10},      {"-2", -2},
        {"abc", 0}, {"1,009", 1}, {"3.1", 3.1}, {"1e400", kInf}, {"nan", 0},  {"\xC3\xA9", 0}, {"007", 7},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE("Val(\"" + c.text + "\")");
        EXPECT_EQ(Val(c.text), c.expected);
    }
}

struct ToInt64Case {
    double value;
    std::int64_t expected;
};

TEST(TextToInt64, IsDefinedForEveryDouble) {
    const std::vector<ToInt64Case> cases = {
        {0.0, 0},
        {-0.0, 0},
        {2.9, 2},
        {-2.9, -2},
        {0.5, 0},
        {-0.5, 0},
        {9999999999.0, 9999999999},
        {kNaN, 0},
        {-kNaN, 0},
        {kInf, kMax},
        {-kInf, kMin},
        {9223372036854775808.0, kMax},
        {1e19, kMax},
        {1e300, kMax},
        {9223372036854774784.0, 9223372036854774784}, // the largest double below 2^63
        {-9223372036854775808.0, kMin},
        {-9223372036854777856.0, kMin}, // the next double below -2^63
        {-1e300, kMin},
        {std::numeric_limits<double>::denorm_min(), 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        EXPECT_EQ(ToInt64(c.value), c.expected);
    }
}

TEST(TextToInt64, ReadsATenDigitGroupedNumberExactly) {
    EXPECT_EQ(ToInt64(CDbl("9,999,999,999")), 9999999999);
}

TEST(TextStr, WritesPlainDecimal) {
    EXPECT_EQ(Str(-12), "-12");
    EXPECT_EQ(Str(0), "0");
    EXPECT_EQ(Str(1009), "1009");
    EXPECT_EQ(Str(kMax), "9223372036854775807");
    EXPECT_EQ(Str(kMin), "-9223372036854775808");
}

struct FormatCase {
    double value;
    String pattern;
    String expected;
};

TEST(TextFormat, WritesNumbersUnderPatterns) {
    const String grouped = "###,###,###,###";
    const std::vector<FormatCase> cases = {
        {1009, grouped, "1,009"},
        {9999999967.0, grouped, "9,999,999,967"},
        {12, grouped, "12"},
        {1, grouped, "1"},
        {0, grouped, "0"},
        {-0.0, grouped, "0"},
        {997, grouped, "997"},
        {1000, grouped, "1,000"},
        {-1009, grouped, "-1,009"},
        {999999999999999.0, grouped, "999,999,999,999,999"},
        {1e15, grouped, "1,000,000,000,000,000"},
        {1152921504606846976.0, "#", "1152921504606847000"},
        {1e20, grouped, "100,000,000,000,000,000,000"},
        {1e300, "#", "1" + String(300, '0')},
        {1009.4, grouped, "1,009"},
        {1009.5, grouped, "1,010"},
        {1, "0.0", "1.0"},
        {2.5, "0.0", "2.5"},
        {0.15, "0.0", "0.2"},
        {2.675, "0.00", "2.68"},
        {2.5, "#", "3"},
        {-2.5, "#", "-3"},
        {0.4, "#", "0"},
        {9.96, "0.0", "10.0"},
        {0.96, ".0", "1.0"},
        {999.96, "#,##0.0", "1,000.0"},
        {-0.04, "0.0", "0.0"},
        {-0.06, "0.0", "-0.1"},
        {1e-300, "0.00", "0.00"},
        {0.001, "0.000", "0.001"},
        {1.5, "0.##", "1.5"},
        {1, "0.##", "1"},
        {1.256, "0.##", "1.26"},
        {1.2, "0.0#", "1.2"},
        {1.25, "0.0#", "1.25"},
        {0.5, "#.##", "0.5"},
        {0.5, ".00", "0.50"},
        {5, "000", "005"},
        {1234, "0,000,000", "0,001,234"},
        {1234.5, "#,##0.00", "1,234.50"},
        {12, "$#,##0", "$12"},
        {-12, "$#,##0", "-$12"},
        {1234, "Total: #,##0 items", "Total: 1,234 items"},
        {5, "x, #", "x, 5"},
        {7, "# of #", "7 of #"},
        // Without digit placeholders: the shortest text that reads back as the same double.
        {2.5, "", "2.5"},
        {-3, "", "-3"},
        {0, "", "0"},
        {-0.0, "", "0"},
        {1e20, "", "1e+20"},
        {2.5, ",.", "2.5"},
        {2.5, "abc", "2.5"},
        // Not a finite number.
        {kInf, grouped, "Infinity"},
        {-kInf, grouped, "-Infinity"},
        {kNaN, grouped, "NaN"},
        {kNaN, "", "NaN"},
        {kInf, "0.0", "Infinity"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE("Format(" + std::to_string(c.value) + ", \"" + c.pattern + "\")");
        EXPECT_EQ(Format(c.value, c.pattern), c.expected);
    }
}

TEST(TextFormat, WritesWholeNumbersUpTo1e15Exactly) {
    for (const std::int64_t value :
         {std::int64_t{1}, std::int64_t{123456789012345}, std::int64_t{999999999999999},
          std::int64_t{1000000000000000}, std::int64_t{9007199254740992}, std::int64_t{987654321098765},
          std::int64_t{100000000000001}}) {
        SCOPED_TRACE(value);
        EXPECT_EQ(Format(static_cast<double>(value), "#"), Str(value));
    }
}

struct LenCase {
    String text;
    std::int64_t expected;
};

TEST(TextLen, CountsCharacters) {
    const std::vector<LenCase> cases = {
        {"", 0},
        {"abc", 3},
        {"<Free>", 6},
        {"\xC3\xA9", 1},         // é
        {"\xE2\x82\xAC", 1},     // €
        {"\xF0\x9F\x98\x80", 1}, // an emoji beyond the basic plane
        {"a\xE2\x82\xAC"
         "b",
         3},
        {"\x80", 1},     // stray continuation byte
        {"\xC3", 1},     // truncated at the end
        {"\xE2\x82", 2}, // truncated sequence: each byte on its own
        {"\xF0\x9F\x98", 3},
        {"\xE2\x82z", 3},        // interrupted sequence
        {"\xC0\xAF", 2},         // overlong
        {"\xE0\x80\xAF", 3},     // overlong
        {"\xED\xA0\x80", 3},     // surrogate
        {"\xF4\x90\x80\x80", 4}, // above U+10FFFF
        {"\xFF\xFE", 2},
        {String(3, '\0'), 3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.text));
        EXPECT_EQ(Len(c.text), c.expected);
    }
}

struct InStrCase {
    std::int64_t start;
    String text;
    String find;
    std::int64_t expected;
};

TEST(TextInStr, FindsWholeCharactersFromStart) {
    const std::vector<InStrCase> cases = {
        {0, "abc<Free>x</Free>", "<Free>", 4},
        {1, "abcabc", "bc", 2},
        {2, "abcabc", "bc", 2},
        {3, "abcabc", "bc", 5},
        {6, "abcabc", "bc", 0},
        {1, "aaa", "aa", 1},
        {2, "aaa", "aa", 2},
        {1, "abc", "abcd", 0},
        {1, "abc", "abc", 1},
        // Starts below 1 search the whole text; starts beyond the end find nothing.
        {0, "abc", "a", 1},
        {-5, "abc", "c", 3},
        {kMin, "abc", "a", 1},
        {4, "abc", "c", 0},
        {kMax, "abc", "a", 0},
        // Exact match: letter case matters.
        {1, "ABC", "b", 0},
        {1, "aBc", "B", 2},
        // Nothing to find, or nothing to search.
        {1, "abc", "", 0},
        {0, "", "", 0},
        {1, "", "a", 0},
        // Positions count characters, not bytes.
        {1,
         "a\xC3\xA9\xE2\x82\xAC"
         "b",
         "b", 4},
        {2, "\xC3\xA9\xE2\x82\xAC\xC3\xA9", "\xC3\xA9", 3},
        {1, "\xF0\x9F\x98\x80x", "x", 2},
        // A hit must be whole characters of the text, not part of one.
        {1, "\xE2\x82\xAC", "\x82", 0},
        {1, "\xE2\x82\xAC", "\xE2\x82", 0},
        {1, "\xE2\x82\xAC\x82", "\x82", 2},
        {1, "x\x82", "\x82", 2},
        {1, "\xE2\x82", "\x82", 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE("InStr(" + std::to_string(c.start) + ", " + testing::PrintToString(c.text) + ", " +
                     testing::PrintToString(c.find) + ")");
        EXPECT_EQ(InStr(c.start, c.text, c.find), c.expected);
    }
}

TEST(TextInStr, WithoutStartSearchesWholeText) {
    EXPECT_EQ(InStr("abcabc", "c"), 3);
    EXPECT_EQ(InStr("abc", "x"), 0);
    EXPECT_EQ(InStr("abc", ""), 0);
}

struct MidCase {
    String text;
    std::int64_t start;
    std::int64_t length;
    String expected;
};

TEST(TextMid, TakesTheCharactersInTheWindow) {
    const std::vector<MidCase> cases = {
        {"abcdef", 1, 3, "abc"},
        {"abcdef", 2, 2, "bc"},
        {"abcdef", 5, 10, "ef"},
        {"abcdef", 6, 1, "f"},
        {"abcdef", 7, 1, ""},
        {"abcdef", 3, 0, ""},
        {"abcdef", 3, -1, ""},
        {"abcdef", 3, kMin, ""},
        // A start below 1 keeps the window where it is: only its positions from 1 exist.
        {"abcdef", 0, 3, "ab"},
        {"abcdef", -1, 3, "a"},
        {"abcdef", -2, 3, ""},
        {"abcdef", 0, kMax, "abcdef"},
        {"abcdef", kMin, kMax, ""},
        {"abcdef", kMin, 5, ""},
        {"abcdef", kMin, kMin, ""},
        {"abcdef", 1, kMax, "abcdef"},
        {"abcdef", kMax, kMax, ""},
        {"abcdef", kMax, kMin, ""},
        {"", 1, 1, ""},
        {"", 0, kMax, ""},
        // Characters, not bytes.
        {"a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80"
         "b",
         2, 3, "\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80"},
        {"\xE2\x82", 2, 1, "\x82"},
        {"\xE2\x82\xAC\xFF", 2, 5, "\xFF"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE("Mid(" + testing::PrintToString(c.text) + ", " + std::to_string(c.start) + ", " +
                     std::to_string(c.length) + ")");
        EXPECT_EQ(Mid(c.text, c.start, c.length), c.expected);
    }
}

TEST(TextMid, WithoutLengthTakesTheRest) {
    const std::vector<MidCase> cases = {
        {"abcdef", 3, 0, "cdef"},
        {"abcdef", 1, 0, "abcdef"},
        {"abcdef", 0, 0, "abcdef"},
        {"abcdef", kMin, 0, "abcdef"},
        {"abcdef", 6, 0, "f"},
        {"abcdef", 7, 0, ""},
        {"abcdef", kMax, 0, ""},
        {"a\xE2\x82\xAC"
         "b",
         2, 0,
         "\xE2\x82\xAC"
         "b"},
        {"", 1, 0, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE("Mid(" + testing::PrintToString(c.text) + ", " + std::to_string(c.start) + ")");
        EXPECT_EQ(Mid(c.text, c.start), c.expected);
    }
}

// The text between an opening and a closing tag, read with InStr, Len and Mid.
String fieldBetweenTags(const String& text) {
    const std::int64_t p = InStr(0, text, "<Free>");
    const std::int64_t a = p + Len("<Free>");
    const std::int64_t e = InStr(a, text, "</Free>");
    return Mid(text, a, e - a);
}

TEST(TextMid, ReadsTheFieldBetweenTags) {
    EXPECT_EQ(fieldBetweenTags("<Doc><Free>12.5</Free></Doc>"), "12.5");
    EXPECT_EQ(fieldBetweenTags("<Free>\xC3\xA9t\xC3\xA9</Free>"), "\xC3\xA9t\xC3\xA9");
    EXPECT_EQ(fieldBetweenTags("<Free></Free>"), "");
    // Without the opening tag the search starts at character 6, so "</Free>" at character 10 leaves 6..9.
    EXPECT_EQ(fieldBetweenTags("abcdefghi</Free>"), "fghi");
    // Without the closing tag the length is negative.
    EXPECT_EQ(fieldBetweenTags("<Free>12.5"), "");
    EXPECT_EQ(fieldBetweenTags(""), "");
}

struct NthFieldCase {
    String text;
    String separator;
    std::int64_t n;
    String expected;
};

TEST(TextNthField, ReturnsTheFieldCountedFromOne) {
    const std::vector<NthFieldCase> cases = {
        {"3.1.0", ".", 1, "3"},
        {"3.1.0", ".", 2, "1"},
        {"3.1.0", ".", 3, "0"},
        {"3.1.0", ".", 4, ""},
        {"3.1.0", ".", 0, ""},
        {"3.1.0", ".", -1, ""},
        {"3.1.0", ".", kMin, ""},
        {"3.1.0", ".", kMax, ""},
        {"3", ".", 1, "3"},
        {"3", ".", 2, ""},
        {"", ".", 1, ""},
        {"", ".", 2, ""},
        {"a..b", ".", 2, ""},
        {"a..b", ".", 3, "b"},
        {".a", ".", 1, ""},
        {".a", ".", 2, "a"},
        {"a.", ".", 2, ""},
        {"a.", ".", 3, ""},
        {"a::b::c", "::", 2, "b"},
        {"a:::b", "::", 2, ":b"},
        {"aXbxc", "x", 1, "aXb"},
        // With an empty separator the whole text is the only field.
        {"abc", "", 1, "abc"},
        {"abc", "", 2, ""},
        {"abc", "", 0, ""},
        // Separators are whole characters, never part of one.
        {"\xE2\x82\xAC\x82z", "\x82", 1, "\xE2\x82\xAC"},
        {"\xE2\x82\xAC\x82z", "\x82", 2, "z"},
        {"\xC3\xA9|\xE2\x82\xAC", "|", 2, "\xE2\x82\xAC"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE("NthField(" + testing::PrintToString(c.text) + ", " +
                     testing::PrintToString(c.separator) + ", " + std::to_string(c.n) + ")");
        EXPECT_EQ(NthField(c.text, c.separator, c.n), c.expected);
    }
}

// ---- searches on repetitive text ----

// The byte offsets of the character boundaries of `text`, its end included, as Mid splits it.
std::vector<std::size_t> Boundaries(const String& text) {
    std::vector<std::size_t> offsets{0};
    for (std::int64_t position = 1; position <= Len(text); ++position)
        offsets.push_back(offsets.back() + Mid(text, position, 1).size());
    return offsets;
}

// The rules of InStr read literally: the first character position from `start` on where the bytes of `find`
// stand and end on a character boundary.
std::int64_t NaiveInStr(std::int64_t start, const String& text, const String& find) {
    const std::vector<std::size_t> offsets = Boundaries(text);
    if (find.empty())
        return 0;
    for (std::size_t i = static_cast<std::size_t>(std::max<std::int64_t>(start, 1)) - 1;
         i + 1 < offsets.size(); ++i) {
        const std::size_t end = offsets[i] + find.size();
        if (text.compare(offsets[i], find.size(), find) == 0 &&
            std::find(offsets.begin(), offsets.end(), end) != offsets.end())
            return static_cast<std::int64_t>(i) + 1;
    }
    return 0;
}

// Random texts over a few pieces, stray UTF-8 bytes among them, against the literal rules: repetitive
// texts and patterns are where a search that carries partial matches over goes wrong.
TEST(TextSearch, InStrAndNthFieldAgreeWithTheRulesOnRepetitiveText) {
    const std::vector<String> pieces = {
        "a", "a", "b", "\xC3\xA9", "\xC3", "\xA9", "\xE2\x82\xAC", "\xF0\x9F\x98\x80", "\xF0"};
    std::mt19937 random(912);
    auto make = [&](std::size_t count) {
        String out;
        for (std::size_t k = 0; k < count; ++k)
            out += pieces[random() % pieces.size()];
        return out;
    };
    for (int round = 0; round < 3000; ++round) {
        const String text = make(random() % 40);
        String find = make(1 + random() % 6);
        if (round % 3 == 0 && text.size() > 2) // a piece of the text itself, so that there is a hit
            find = text.substr(random() % (text.size() - 1), 1 + random() % 5);
        const std::int64_t start = static_cast<std::int64_t>(random() % 8);
        SCOPED_TRACE("InStr(" + std::to_string(start) + ", " + testing::PrintToString(text) + ", " +
                     testing::PrintToString(find) + ")");
        ASSERT_EQ(InStr(start, text, find), NaiveInStr(start, text, find));

        // NthField is the text between successive separators, each found after the one before.
        std::vector<String> fields;
        std::int64_t from = 1;
        for (std::int64_t hit = NaiveInStr(from, text, find); hit != 0; hit = NaiveInStr(from, text, find)) {
            fields.push_back(Mid(text, from, hit - from));
            from = hit + Len(find);
        }
        fields.push_back(from > Len(text) ? String() : Mid(text, from));
        for (std::size_t n = 1; n <= fields.size() + 1; ++n)
            ASSERT_EQ(NthField(text, find, static_cast<std::int64_t>(n)),
                      n <= fields.size() ? fields[n - 1] : "")
                << "field " << n;
    }
}

TEST(TextSearch, LongRepetitivePatternsInLongText) {
    const String as(1'000'000, 'a');
    const String almost = String(499'999, 'a') + "b";
    EXPECT_EQ(InStr(as, almost), 0);
    EXPECT_EQ(InStr(as + "b", almost), 500'002);
    EXPECT_EQ(InStr(500'003, as + "b", almost), 0);
    EXPECT_EQ(NthField(as, almost, 1), as);
    EXPECT_EQ(NthField(as, almost, 2), "");
    EXPECT_EQ(NthField(as + "b" + as, almost, 1), String(500'001, 'a'));
    EXPECT_EQ(NthField(as + "b" + as, almost, 2), as);
    // The same in two-byte characters, with the pattern's bytes also standing across character boundaries.
    String es;
    for (int k = 0; k < 200'000; ++k)
        es += "\xC3\xA9";
    EXPECT_EQ(InStr(es, "\xA9\xC3"), 0);
    EXPECT_EQ(InStr(es + "x", es.substr(2) + "x"), 2);
}

// The search reads each text byte once and compares it at most twice on average, whatever the pattern.
TEST(TextSearch, ComparesEachByteAtMostTwiceOnAverage) {
    String fibonacci = "a";
    for (String before = "b"; fibonacci.size() < 100'000;) {
        String next = fibonacci + before;
        before = std::move(fibonacci);
        fibonacci = std::move(next);
    }
    struct Case {
        String text;
        String pattern;
    };
    const std::vector<Case> cases = {
        {String(200'000, 'a'), String(99'999, 'a') + "b"},
        {String(200'000, 'a'), "b" + String(99'999, 'a')},
        {String(200'000, 'a'), String(100, 'a')},
        {[] {
             String t;
             while (t.size() < 200'000)
                 t += "abababababc";
             return t;
         }(),
         "ababababababc"},
        {fibonacci, fibonacci.substr(0, 10'000) + "c"},
        {fibonacci, fibonacci.substr(0, 50'000)},
    };
    for (const Case& c : cases) {
        BytePatternSearch search(c.text, c.pattern);
        std::size_t hits = 0;
        while (search.Next() != BytePatternSearch::kNotFound)
            ++hits;
        SCOPED_TRACE(testing::Message()
                     << "pattern of " << c.pattern.size() << " bytes, " << hits << " hits");
        EXPECT_LE(search.Comparisons(), 2 * c.text.size());
        if (c.pattern.size() > 1000)
            continue; // a plain search, the check of the count, is quadratic on the long ones
        std::size_t naiveHits = 0;
        for (auto at = c.text.find(c.pattern); at != String::npos; at = c.text.find(c.pattern, at + 1))
            ++naiveHits;
        EXPECT_EQ(hits, naiveHits);
    }
}

} // namespace
