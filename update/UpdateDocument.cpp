// The update document reader: a plain text search for an element's start tag and the first end tag after
// it, no markup parser. Nothing is decoded or trimmed, and only the first occurrence of an element counts.

#include "framework/core/Text.h"
#include "update/updateWindow.h"

using namespace Ovelund;

String updateWindow::startTag(const String& name) const {
    return "<" + name + ">";
}

String updateWindow::endTag(const String& name) const {
    return "</" + name + ">";
}

// The characters between the first start tag and the first end tag at or after the character that follows
// it. Search results are deliberately not tested:
// - without a start tag the value runs from position Len(start tag) up to the first end tag found from
//   there on;
// - without an end tag at or after that position the length is negative, and Mid gives "" for it, so a
//   missing end tag yields the empty value.
String updateWindow::returnValue(const String& text, const String& name) const {
    const String start = startTag(name);
    const std::int64_t length = Len(start);
    const std::int64_t p = InStr(0, text, start);
    const std::int64_t a = p + length;
    const std::int64_t e = InStr(a, text, endTag(name));
    return Mid(text, a, e - a);
}
