#pragma once
// An owning handle of a toolkit object whose deletion waits for the event loop (QObject::deleteLater). The
// object may be the very one whose signal runs when its owner lets it go: a socket closed or dropped by its
// own handler, a timer dropped inside its own tick. Once let go, nothing it signals reaches anyone.

#include <QCoreApplication>
#include <QObject>

#include <memory>

namespace Ovelund {

struct DeleteLater {
    void operator()(QObject* object) const {
        QObject::disconnect(object, nullptr, nullptr, nullptr);
        // Without an application object no event loop runs, so no signal of the object can be running either.
        if (QCoreApplication::instance())
            object->deleteLater();
        else
            delete object;
    }
};

template <class T> using DeferredPtr = std::unique_ptr<T, DeleteLater>;

} // namespace Ovelund
