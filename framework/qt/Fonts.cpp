#include "framework/qt/Fonts.h"

#include "framework/qt/QtText.h"

#include <QFontDatabase>
#include <QStringList>

#include <cmath>

namespace Ovelund {

QFont ControlFont(const String& family, float size, float fallbackSize, bool bold, bool italic,
                  bool underline) {
    // The designs were laid out for a narrow sans-serif user-interface font; the metric-compatible Liberation
    // Sans keeps their texts within their controls, and the platform's own sans-serif font stands in without
    // it.
    QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    const QStringList sansSerif = {QStringLiteral("Liberation Sans"), QStringLiteral("Arimo"),
                                   QStringLiteral("Helvetica"), QStringLiteral("Arial"), font.family()};
    if (family.empty() || family == "System" || family == "Helvetica Neue" || family == "Helvetica" ||
        family == "Arial") {
        font.setFamilies(sansSerif);
    } else {
        font.setFamilies(QStringList{ToQt(family)} + sansSerif);
    }
    font.setStyleHint(QFont::SansSerif);
    // Sizes are in the window's units, which are pixels here; hostile sizes fall back to the default.
    float pixels = size;
    if (!(pixels > 0.0f) || !std::isfinite(pixels) || pixels > 400.0f)
        pixels = fallbackSize;
    font.setPixelSize(static_cast<int>(std::lround(pixels)));
    font.setBold(bold);
    font.setItalic(italic);
    font.setUnderline(underline);
    return font;
}

} // namespace Ovelund
