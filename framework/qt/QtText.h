#pragma once
// The one conversion between the framework's text (a String of UTF-8 bytes) and the toolkit's.

#include "framework/core/String.h"

#include <QByteArray>
#include <QString>

#include <string_view>

namespace Ovelund {

inline QString ToQt(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

inline String FromQt(const QString& text) {
    const QByteArray bytes = text.toUtf8();
    return String(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

} // namespace Ovelund
