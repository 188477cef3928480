#include "framework/runtime/EventLoop.h"

#include "framework/qt/QtText.h"
#include "framework/runtime/ApplicationIdentity.h"
#include "framework/runtime/BackgroundTask.h"
#include "framework/runtime/UIThread.h"

#include <QApplication>
#include <QThread>
#include <QThreadPool>

#include <array>
#include <utility>

namespace Ovelund {

namespace detail {
std::uint64_t backgroundTaskCalls = 0;
} // namespace detail

namespace {

// Events are delivered from inside a long loop only this often.
constexpr std::chrono::steady_clock::duration kDefaultDeliveryInterval = std::chrono::milliseconds(4);

struct EventLoopState {
    bool quitRequested = false;
    int exitCode = 0;
    // Deleted by RuntimeStopToolkit alone: a process that ends some other way (the toolkit calls exit() when
    // it loses its display) ends inside the event loop, where destroying the application object would crash.
    QApplication* ownedApplication = nullptr;
    // Its command line: the executable's name alone.
    String argument;
    int argumentCount = 1;
    std::array<char*, 2> arguments{};
    std::chrono::steady_clock::time_point lastDelivery{};
    std::chrono::steady_clock::duration deliveryInterval = kDefaultDeliveryInterval;
};

EventLoopState& State() {
    static EventLoopState state;
    return state;
}

} // namespace

void detail::BackgroundTaskSlowPath() {
    auto& state = State();
    if (state.quitRequested && OnUIThread())
        throw QuitUnwind{};
    const auto now = std::chrono::steady_clock::now();
    if (now - state.lastDelivery < state.deliveryInterval)
        return;
    state.lastDelivery = now;
    if (!QCoreApplication::instance() || !OnUIThread())
        return;
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    if (state.quitRequested)
        throw QuitUnwind{};
}

void RuntimeStartToolkit() {
    auto& state = State();
    state.quitRequested = false;
    state.exitCode = 0;
    if (!QCoreApplication::instance()) {
        // The toolkit keeps these for the application object's life.
        state.argument = RuntimeExecutableName();
        state.arguments = {state.argument.data(), nullptr};
        state.ownedApplication = new QApplication(state.argumentCount, state.arguments.data());
    }
    QApplication::setQuitOnLastWindowClosed(false);
    // The toolkit spreads a fill taller than about a hundred lines over its shared thread pool. For widgets
    // of this size the waking of threads costs more than it saves (a list's scroll bar repainted at every
    // appended row spent most of its time so); one thread keeps every paint close to its serial cost.
    QThreadPool::globalInstance()->setMaxThreadCount(1);
    const String& name = RuntimeApplicationIdentity().name;
    if (!name.empty())
        QCoreApplication::setApplicationName(ToQt(name));
}

void RuntimeRunEventLoop() {
    if (!State().quitRequested && QCoreApplication::instance())
        QCoreApplication::exec();
}

void RuntimeStopToolkit() {
    // Windows hand their widgets to deleteLater, timers and sockets their toolkit objects; let those
    // deletions happen before the toolkit goes.
    if (QCoreApplication::instance())
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    delete std::exchange(State().ownedApplication, nullptr);
}

void RuntimeSetEventDeliveryInterval(std::chrono::milliseconds interval) {
    State().deliveryInterval = interval.count() < 0 ? kDefaultDeliveryInterval : interval;
}

void Quit(int exitCode) {
    auto& state = State();
    if (!state.quitRequested)
        state.exitCode = exitCode;
    state.quitRequested = true;
    // Ends every running loop, modal ones too. With no loop running, the event loop sees the request and does
    // not start; telling the toolkit then would make later loops end at once.
    if (QCoreApplication::instance() && QThread::currentThread()->loopLevel() > 0)
        QCoreApplication::exit(state.exitCode);
}

bool RuntimeQuitRequested() {
    return State().quitRequested;
}

int RuntimeQuitExitCode() {
    return State().exitCode;
}

} // namespace Ovelund
