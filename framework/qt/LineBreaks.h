#pragma once

#include <QString>

namespace Ovelund {

// `text` with every line break, CR LF, LF or a lone CR, written as the LF at which the toolkit breaks a line
// of plain text. Texts from files and servers use all three.
QString WithUniformLineBreaks(QString text);

} // namespace Ovelund
