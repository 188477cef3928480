#include "framework/dispatch/ExceptionReport.h"

#include "framework/dialogs/DialogPresenter.h"
#include "framework/runtime/ApplicationIdentity.h"
#include "framework/runtime/BackgroundTask.h"
#include "framework/runtime/UIThread.h"

#include <cxxabi.h>

#include <cstdio>
#include <cstdlib>
#include <typeinfo>

namespace Ovelund {

namespace {

struct ReportState {
    bool unhandledReported = false;
    Ref<ExceptionHelperDelegate> exceptionHelper;
};

ReportState& State() {
    static ReportState state;
    return state;
}

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
    State().unhandledReported = true;
    std::fprintf(stderr, "%s: unhandled exception: %s\n", RuntimeExecutableName().c_str(), className.c_str());
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

Ref<ExceptionHelperDelegate> RuntimeExceptionHelper() {
    return State().exceptionHelper;
}

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

void RuntimeResetExceptionReport() {
    State() = ReportState{};
}

} // namespace Ovelund
