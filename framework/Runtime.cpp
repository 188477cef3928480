#include "framework/Runtime.h"

#include "framework/Application.h"
#include "framework/DialogPresenter.h"
#include "framework/Registry.h"
#include "framework/qt/QtText.h"

#include <QApplication>
#include <QThread>
#include <QThreadPool>

#include <cxxabi.h>

#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <memory>
#include <typeinfo>
#include <utility>

namespace Ovelund {

namespace detail {
std::uint64_t backgroundTaskCalls = 0;
void ReleaseAppObject();
} // namespace detail

namespace {

// Events are delivered from inside a long loop only this often.
constexpr std::chrono::steady_clock::duration kDefaultDeliveryInterval = std::chrono::milliseconds(4);

struct RuntimeState {
    bool quitRequested = false;
    int exitCode = 0;
    bool unhandledReported = false;
    // Deleted by RuntimeExit alone: a process that ends some other way (the toolkit calls exit() when it
    // loses its display) ends inside the event loop, where destroying the application object would crash.
    QApplication* ownedApplication = nullptr;
    // Its command line: the executable's name alone.
    String argument;
    int argumentCount = 1;
    std::array<char*, 2> arguments{};
    Ref<ExceptionHelperDelegate> exceptionHelper;
    std::chrono::steady_clock::time_point lastDelivery{};
    std::chrono::steady_clock::duration deliveryInterval = kDefaultDeliveryInterval;
};

RuntimeState& State() {
    static RuntimeState state;
    return state;
}

// The name of the executable as the program gave it, or this when it gave none.
String ExecutableName() {
    const String& name = RuntimeApplicationIdentity().executableName;
    return name.empty() ? String("application") : name;
}

bool OnUIThread() {
    auto* app = QCoreApplication::instance();
    return !app || QThread::currentThread() == app->thread();
}

void RunWork(void* argument) {
    (*static_cast<const std::function<void()>*>(argument))();
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

void RuntimeInit() {
    auto& state = State();
    state.quitRequested = false;
    state.exitCode = 0;
    state.unhandledReported = false;
    state.exceptionHelper.reset();
    if (!QCoreApplication::instance()) {
        // The toolkit keeps these for the application object's life.
        state.argument = ExecutableName();
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

void ReleaseFrameworkGlobals() {
    CloseOpenWindows();
    ForgetOpenWindows();
    detail::ReleaseAppObject();
}

int RuntimeExit() {
    auto& state = State();
    const int status = state.unhandledReported ? 1 : state.exitCode;
    ReleaseFrameworkGlobals();
    // Windows hand their widgets to deleteLater; let those deletions happen before the toolkit goes.
    if (QCoreApplication::instance())
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    state.exceptionHelper.reset();
    delete std::exchange(state.ownedApplication, nullptr);
    return status;
}

void RuntimeSetEventDeliveryInterval(std::chrono::milliseconds interval) {
    State().deliveryInterval = interval.count() < 0 ? kDefaultDeliveryInterval : interval;
}

void RunFrameworkInitialization(const Ref<LateStartupDelegate>& lateStartup) {
    CheckUIThread();
    if (lateStartup)
        lateStartup->Invoke();
}

void RuntimeRun() {
    if (!State().quitRequested && QCoreApplication::instance())
        QCoreApplication::exec();
    // The application quits: every window still open runs its closing step.
    CloseOpenWindows();
}

void Quit(int exitCode) {
    auto& state = State();
    if (!state.quitRequested)
        state.exitCode = exitCode;
    state.quitRequested = true;
    // Ends every running loop, modal ones too. With no loop running, RuntimeRun sees the request and does not
    // start one; telling the toolkit then would make later loops end at once.
    if (QCoreApplication::instance() && QThread::currentThread()->loopLevel() > 0)
        QCoreApplication::exit(state.exitCode);
}

bool RuntimeQuitRequested() {
    return State().quitRequested;
}

std::shared_ptr<RuntimeException> CallFunctionWithExceptionHandling(ExceptionHelperFunction function,
                                                                    void* argument) {
    try {
        function(argument);
    } catch (const RuntimeException& exception) {
        return exception.Clone();
    }
    return nullptr;
}

void RuntimeSetExceptionHelper(const Ref<ExceptionHelperDelegate>& helper) {
    State().exceptionHelper = helper;
}

namespace {

// The C++ type of the exception being handled, as source code spells it ("std::bad_alloc", "int").
String CurrentExceptionTypeName() {
    const std::type_info* type = abi::__cxa_current_exception_type();
    if (!type)
        return "unknown";
    int status = 0;
    std::unique_ptr<char, void (*)(void*)> demangled(
        abi::__cxa_demangle(type->name(), nullptr, nullptr, &status), std::free);
    return status == 0 && demangled ? String(demangled.get()) : String(type->name());
}

void ReportUnhandled(const String& className) {
    auto& state = State();
    state.unhandledReported = true;
    std::fprintf(stderr, "%s: unhandled exception: %s\n", ExecutableName().c_str(), className.c_str());
    std::fflush(stderr);
    // The report itself must not fail: from another thread it goes to stderr alone.
    if (!OnUIThread())
        return;
    try {
        CurrentDialogPresenter().ShowMessage("An exception of class " + className +
                                             " was not handled. The application must shut down.");
    } catch (...) {
        // Out of memory or worse: stderr has it.
    }
}

} // namespace

void UnhandledException(const RuntimeException& exception) {
    ReportUnhandled(exception.ClassName());
}

void UnhandledException(const std::exception_ptr& exception) {
    if (!exception)
        return;
    try {
        std::rethrow_exception(exception);
    } catch (const QuitUnwind&) {
        // The quit's own unwinding: nothing went wrong.
    } catch (const RuntimeException& runtimeException) {
        ReportUnhandled(runtimeException.ClassName());
    } catch (...) {
        ReportUnhandled(CurrentExceptionTypeName());
    }
}

bool RuntimeReportedUnhandledException() {
    return State().unhandledReported;
}

void Dispatch(const std::function<void()>& work) {
    try {
        std::shared_ptr<RuntimeException> escaped;
        Ref<ExceptionHelperDelegate> helper = State().exceptionHelper; // a copy: the work may replace it
        void* argument = const_cast<void*>(static_cast<const void*>(&work));
        if (helper)
            escaped = helper->Invoke(&RunWork, argument);
        else
            escaped = CallFunctionWithExceptionHandling(&RunWork, argument);
        if (escaped) {
            UnhandledException(*escaped);
            Quit(1);
        }
    } catch (const QuitUnwind&) {
        // The application is quitting; the interrupted handler has ended.
    } catch (...) {
        UnhandledException(std::current_exception());
        Quit(1);
    }
}

void CheckUIThread() {
    if (!OnUIThread())
        throw ThreadAccessingUIException("ThreadAccessingUIException");
}

} // namespace Ovelund
