#include "framework/dispatch/Dispatch.h"

#include "framework/dispatch/ExceptionReport.h"
#include "framework/runtime/BackgroundTask.h"
#include "framework/runtime/EventLoop.h"

namespace Ovelund {

namespace {
void RunWork(void* argument) {
    (*static_cast<const std::function<void()>*>(argument))();
}
} // namespace

void Dispatch(const std::function<void()>& work) {
    try {
        std::shared_ptr<RuntimeException> escaped;
        Ref<ExceptionHelperDelegate> helper = RuntimeExceptionHelper(); // a copy: the work may replace it
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

} // namespace Ovelund
