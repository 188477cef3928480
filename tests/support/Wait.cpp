#include "support/Wait.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QObject>
#include <QTimer>

namespace testing_support {

bool RunUntil(const std::function<bool()>& done, int limitMs) {
    if (done())
        return true;
    QEventLoop loop;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (done())
            loop.quit();
    });
    poll.start(1);
    QTimer::singleShot(limitMs, &loop, &QEventLoop::quit);
    loop.exec();
    return done();
}

void RunFor(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

void Settle() {
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
}

} // namespace testing_support
