#include "framework/runtime/Platform.h"
#include "framework/qt/QtText.h"

#include <QApplication>
#include <QDesktopServices>
#include <QUrl>

namespace Ovelund {

namespace {
std::uint64_t beeps = 0;
}

void ShowURL(const String& url) {
    // A text that is no valid address is simply not opened; nothing is reported.
    QUrl address(ToQt(url), QUrl::StrictMode);
    if (address.isValid())
        QDesktopServices::openUrl(address);
}

void Beep() {
    ++beeps;
    if (QCoreApplication::instance())
        QApplication::beep();
}

std::uint64_t BeepCount() {
    return beeps;
}

} // namespace Ovelund
