#pragma once
// The text of a dialog: its message, and under it the explanation if there is one, in one read-only
// plain-text area. The area is as tall as its lines up to a given height and scrolls beyond it; it scrolls by
// whole lines and is a whole number of lines tall, so that no line shows cut through.

#include "framework/core/String.h"

#include <QString>

class QPlainTextEdit;
class QWidget;

namespace Ovelund {

// Dialog texts may come from a server: at most this many characters (code points) of each are shown (some
// 800 lines of release notes), and a text that is longer ends in an ellipsis that marks the cut.
inline constexpr int kDialogShownCharacters = 64000;

struct DialogText {
    String message;
    bool boldMessage = false;
    String explanation;
};

// The text area for `text`, at most `maxWidth` wide (its scroll bar included) and `maxHeight` tall.
QPlainTextEdit* MakeDialogTextArea(const DialogText& text, int maxWidth, int maxHeight, QWidget* parent);

// A dialog text as shown: at most kDialogShownCharacters, cut between two characters and the cut marked,
// every line break an LF.
QString ShownDialogText(const String& text);

} // namespace Ovelund
