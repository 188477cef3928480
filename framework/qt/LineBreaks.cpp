#include "framework/qt/LineBreaks.h"

namespace Ovelund {

QString WithUniformLineBreaks(QString text) {
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

} // namespace Ovelund
