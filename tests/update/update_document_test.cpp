// The update document reader: an element's value is the text between its first start tag and the first end
// tag after it, found by plain text search and returned as it stands.

#include "UpdateFixture.h"

#include <ostream>

using namespace Ovelund;
using update_testing::UpdateFixture;

namespace {

struct ReaderCase {
    const char* what;
    String text;
    const char* element;
    String value;
};

void PrintTo(const ReaderCase& c, std::ostream* out) {
    *out << c.what;
}

class UpdateDocumentReader : public UpdateFixture, public ::testing::WithParamInterface<ReaderCase> {};

TEST_P(UpdateDocumentReader, ReturnsTheTextBetweenTheTags) {
    const ReaderCase& c = GetParam();
    Ref<updateWindow> window = updateWindow::instance();
    EXPECT_EQ(window->returnValue(c.text, c.element), c.value);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, UpdateDocumentReader,
    ::testing::Values(
        ReaderCase{"a present element", "<CurrentVersion>3.0.1</CurrentVersion>", "CurrentVersion", "3.0.1"},
        ReaderCase{"an end tag right after the start tag", "<Free></Free>", "Free", ""},
        ReaderCase{"a blank before the value", "<Free> Yes</Free>", "Free", " Yes"},
        ReaderCase{"a line break after the value", "<Free>Yes\n</Free>", "Free", "Yes\n"},
        ReaderCase{"the first of two elements",
                   "<Description>one</Description><Description>two</Description>", "Description", "one"},
        ReaderCase{"an element of the same name inside",
                   "<Description>a<Description>b</Description>c</Description>", "Description",
                   "a<Description>b"},
        // Without a start tag the search for the end tag starts at Len("<Free>") = 6: an end tag at position
        // 10 gives the characters 6 to 9.
        ReaderCase{"no start tag", "abcdefghi</Free>", "Free", "fghi"},
        ReaderCase{"no start tag, positions in characters",
                   "\xC3\xA4"
                   "bcdefghi</Free>",
                   "Free", "fghi"},
        ReaderCase{"a start tag with a blank", "<Free >Yes</Free>", "Free", " >Yes"},
        ReaderCase{"a start tag with an attribute", "<Free a=\"1\">Yes</Free>", "Free", " a=\"1\">Yes"},
        ReaderCase{"no end tag", "<Free>Yes", "Free", ""},
        ReaderCase{"the only end tag before the start tag", "</Free><Free>Yes", "Free", ""},
        ReaderCase{"no tags at all", "<html><body>Not Found</body></html>", "CurrentVersion", ""},
        ReaderCase{"an empty text", "", "Description", ""},
        ReaderCase{"tags in another letter case", "<free>Yes</free>", "Free", ""},
        ReaderCase{"several lines, references and markup kept",
                   "<Description>Faster search.\r\nFixes &amp; &lt;b&gt;more<b>!</b>\n</Description>",
                   "Description", "Faster search.\r\nFixes &amp; &lt;b&gt;more<b>!</b>\n"},
        ReaderCase{"text beyond ASCII",
                   "<Description>Gr\xC3\xBC\xC3\x9F"
                   "e</Description>",
                   "Description",
                   "Gr\xC3\xBC\xC3\x9F"
                   "e"}));

struct LayoutCase {
    const char* what;
    String text;
};

void PrintTo(const LayoutCase& c, std::ostream* out) {
    *out << c.what;
}

class UpdateDocumentLayout : public UpdateFixture, public ::testing::WithParamInterface<LayoutCase> {};

// Each element is looked for on its own, from the beginning of the text; everything else is ignored.
TEST_P(UpdateDocumentLayout, GivesTheSameThreeValues) {
    Ref<updateWindow> window = updateWindow::instance();
    const String& text = GetParam().text;
    EXPECT_EQ(window->returnValue(text, "CurrentVersion"), "3.1.0");
    EXPECT_EQ(window->returnValue(text, "Description"), "New\nthings");
    EXPECT_EQ(window->returnValue(text, "Free"), "Yes");
}

INSTANTIATE_TEST_SUITE_P(
    Cases, UpdateDocumentLayout,
    ::testing::Values(
        LayoutCase{"as the server writes it", update_testing::Document("3.1.0", "New\nthings", "Yes")},
        LayoutCase{
            "in reverse order",
            "<Free>Yes</Free><Description>New\nthings</Description><CurrentVersion>3.1.0</CurrentVersion>"},
        LayoutCase{"among other lines and elements",
                   "<?xml version=\"1.0\"?>\n\n<Other>x</Other>\n<CurrentVersion>3.1.0</CurrentVersion>\n"
                   "<Notes>n</Notes>\n\n<Description>New\nthings</Description>\n<Free>Yes</Free>\n"},
        LayoutCase{"enclosed in another element",
                   "<Root><Inner><CurrentVersion>3.1.0</CurrentVersion><Description>New\nthings</Description>"
                   "</Inner><Free>Yes</Free></Root>"}));

} // namespace
