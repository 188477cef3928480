#pragma once

#include "framework/core/String.h"

#include <QString>

#include <string_view>

namespace Ovelund {

// `text` with every line break, CR LF, LF or a lone CR, written as the LF at which the toolkit breaks a line
// of plain text. Texts from files and servers use all three.
QString WithUniformLineBreaks(QString text);
// The same rule for UTF-8 text, whose bytes it keeps as they are otherwise (CR and LF are never part of
// another character there): for text that the framework keeps in its own form, such as a list's rows.
String WithUniformLineBreaks(std::string_view text);

} // namespace Ovelund
