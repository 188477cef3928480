#include "framework/startup/Startup.h"

#include "framework/application/Application.h"
#include "framework/dispatch/ExceptionReport.h"
#include "framework/runtime/EventLoop.h"
#include "framework/runtime/UIThread.h"
#include "framework/windows/OpenWindows.h"

namespace Ovelund {

void RuntimeInit() {
    RuntimeResetExceptionReport();
    RuntimeStartToolkit();
}

int RuntimeExit() {
    const int status = RuntimeReportedUnhandledException() ? 1 : RuntimeQuitExitCode();
    ReleaseFrameworkGlobals();
    RuntimeStopToolkit();
    RuntimeSetExceptionHelper(nullptr);
    return status;
}

void RunFrameworkInitialization(const Ref<LateStartupDelegate>& lateStartup) {
    CheckUIThread();
    if (lateStartup)
        lateStartup->Invoke();
}

void RuntimeRun() {
    RuntimeRunEventLoop();
    // The application quits: every window still open runs its closing step.
    CloseOpenWindows();
}

void ReleaseFrameworkGlobals() {
    CloseOpenWindows();
    ForgetOpenWindows();
    RuntimeReleaseAppObject();
}

} // namespace Ovelund
