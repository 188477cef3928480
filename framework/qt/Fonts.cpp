#include "framework/qt/Fonts.h"

#include "framework/RectControl.h"

#include <QApplication>
#include <QFontDatabase>

#include <cmath>

namespace Ovelund {

QFont ControlFont(const String& family, float size, bool bold, bool italic, bool underline) {
    QFont font = QApplication::font();
    if (family == "System" || family.empty()) {
        font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    } else if (family == "Helvetica Neue" || family == "Helvetica" || family == "Arial") {
        font.setFamilies({QString::fromStdString(family), QStringLiteral("Liberation Sans"),
                          QStringLiteral("DejaVu Sans")});
        font.setStyleHint(QFont::SansSerif);
    } else {
        font.setFamily(QString::fromStdString(family));
    }
    // Sizes are in the window's units, which are pixels here; hostile sizes fall back to the default.
    float pixels = size;
    if (!(pixels > 0.0f) || !std::isfinite(pixels) || pixels > 400.0f)
        pixels = RectControl::DefaultTextSize;
    font.setPixelSize(static_cast<int>(std::lround(pixels)));
    font.setBold(bold);
    font.setItalic(italic);
    font.setUnderline(underline);
    return font;
}

} // namespace Ovelund
