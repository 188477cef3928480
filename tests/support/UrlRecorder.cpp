#include "support/UrlRecorder.h"

#include <QDesktopServices>

namespace testing_support {

UrlRecorder::UrlRecorder() {
    for (const char* scheme : {"http", "https", "mailto"})
        QDesktopServices::setUrlHandler(QString::fromLatin1(scheme), this, "open");
}

UrlRecorder::~UrlRecorder() {
    for (const char* scheme : {"http", "https", "mailto"})
        QDesktopServices::unsetUrlHandler(QString::fromLatin1(scheme));
}

void UrlRecorder::open(const QUrl& url) {
    opened.push_back(url.toString());
}

} // namespace testing_support
