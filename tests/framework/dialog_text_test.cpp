#include "framework/qt/DialogTextArea.h"

#include <QList>
#include <QString>

#include <gtest/gtest.h>

#include <string>

using namespace Ovelund;

namespace {

// U+1F600, beyond the Basic Multilingual Plane: four bytes of UTF-8, two UTF-16 units.
const std::string kWide = "\xF0\x9F\x98\x80";

std::string Repeated(const std::string& text, int count) {
    std::string repeated;
    repeated.reserve(text.size() * static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i)
        repeated += text;
    return repeated;
}

} // namespace

// The cut counts characters, not the toolkit's UTF-16 units, and never falls inside one.
TEST(DialogText, IsCutAfterItsFirst64000Characters) {
    struct Case {
        const char* what;
        std::string text;
        std::string shown; // UTF-8
    };
    const std::string ellipsis = "\xE2\x80\xA6";
    const Case cases[] = {
        {"64,000 ASCII characters, whole", std::string(64000, 'x'), std::string(64000, 'x')},
        {"64,001 ASCII characters, cut", std::string(64001, 'x'), std::string(64000, 'x') + ellipsis},
        {"64,000 characters beyond the BMP, whole", Repeated(kWide, 64000), Repeated(kWide, 64000)},
        {"\"a\" and 64,000 characters beyond the BMP, cut after a whole character",
         "a" + Repeated(kWide, 64000), "a" + Repeated(kWide, 63999) + ellipsis},
        {"more bytes than are converted, cut", Repeated(kWide, 70000), Repeated(kWide, 64000) + ellipsis},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const QString shown = ShownDialogText(c.text);
        // Compared whole, reported by length: the texts are too long to print.
        EXPECT_TRUE(shown.toStdString() == c.shown)
            << shown.size() << " UTF-16 units, " << shown.toUcs4().size() << " characters shown";
        for (qsizetype at = 0; at < shown.size(); ++at) {
            if (shown[at].isHighSurrogate()) {
                ASSERT_TRUE(at + 1 < shown.size() && shown[at + 1].isLowSurrogate())
                    << "a lone half at " << at;
                ++at;
            } else {
                ASSERT_FALSE(shown[at].isLowSurrogate()) << "a lone half at " << at;
            }
        }
    }
}
