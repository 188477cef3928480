#include "framework/runtime/UIThread.h"

#include "framework/core/Exceptions.h"

#include <QCoreApplication>
#include <QThread>

namespace Ovelund {

bool OnUIThread() {
    auto* app = QCoreApplication::instance();
    return !app || QThread::currentThread() == app->thread();
}

void CheckUIThread() {
    if (!OnUIThread())
        throw ThreadAccessingUIException("ThreadAccessingUIException");
}

} // namespace Ovelund
