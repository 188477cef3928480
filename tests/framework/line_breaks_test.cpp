#include "framework/qt/LineBreaks.h"
#include "framework/qt/QtText.h"

#include <gtest/gtest.h>

#include <string>

using namespace Ovelund;

// CR LF, LF and a lone CR are each one line break, in the toolkit's text and in UTF-8 alike; UTF-8 keeps
// every other byte, malformed ones too.
TEST(LineBreaks, EveryKindBecomesOneLineFeedInEitherForm) {
    struct Case {
        std::string text;
        std::string uniform;
    };
    const Case cases[] = {
        {"", ""},
        {"no break", "no break"},
        {"a\r\nb\rc\nd", "a\nb\nc\nd"},
        {"\r\r\n\n\r", "\n\n\n\n"},
        {"\n\r\n\r", "\n\n\n"},
        {"ends\r", "ends\n"},
        {"caf\xC3\xA9\r\n\xF0\x9F\x98\x80\r", "caf\xC3\xA9\n\xF0\x9F\x98\x80\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.text));
        EXPECT_EQ(WithUniformLineBreaks(std::string_view(c.text)), c.uniform);
        EXPECT_EQ(FromQt(WithUniformLineBreaks(ToQt(c.text))), c.uniform);
    }
    EXPECT_EQ(WithUniformLineBreaks(std::string_view("\xE2\x80\r\n\xFF")), "\xE2\x80\n\xFF");
}
