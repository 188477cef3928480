#include "app/Startup.h"

#include "about/AboutBox.h"
#include "app/App.h"
#include "app/FileTypes.h"
#include "app/MenuBar1.h"
#include "framework/application/Application.h"
#include "framework/core/Exceptions.h"
#include "framework/dispatch/ExceptionReport.h"
#include "framework/startup/Startup.h"
#include "search/Module1.h"
#include "search/Window1.h"
#include "update/selfTest.h"
#include "update/updateWindow.h"

#include <exception>

using namespace Ovelund;

int ProgramMain() {
    RuntimeSetApplicationIdentity(ProgramIdentity());
    RuntimeInit();
    Initialize();
    Main();
    Finalize();
    return RuntimeExit();
}

ApplicationIdentity ProgramIdentity() {
    return {"Tarnwick", "tarnwick",
            ApplicationVersion{TARNWICK_VERSION_MAJOR, TARNWICK_VERSION_MINOR, TARNWICK_VERSION_PATCH,
                               TARNWICK_VERSION_TEXT, TARNWICK_VERSION_TEXT}};
}

void Initialize() {
    RegisterFrameworkClasses();
    for (const ClassRecord* record : {
             &Window1::Lookup(),
             &Window1ModeATimer::Lookup(),
             &Window1ModeBTimer::Lookup(),
             &MenuBar1::Lookup(),
             &App::Lookup(),
             &selfTest::Lookup(),
             &updateWindow::Lookup(),
             &updateWindowHp::Lookup(),
             &AboutBox::Lookup(),
         })
        RuntimeRegisterClass(*record);
}

namespace {
std::shared_ptr<RuntimeException> CallWithExceptionHandling(ExceptionHelperFunction function,
                                                            void* argument) {
    return CallFunctionWithExceptionHandling(function, argument);
}
} // namespace

void Main() {
    Ref<ExceptionHelperDelegate> exceptionHelper;
    Ref<LateStartupDelegate> lateStartup;
    try {
        exceptionHelper = RuntimeCreateDelegate(&CallWithExceptionHandling, "( Ptr, Ptr ) as Object");
        RuntimeSetExceptionHelper(exceptionHelper);
        EarlyStartup();
        lateStartup = RuntimeCreateDelegate(&LateStartup, "(  )");
        RunFrameworkInitialization(lateStartup);
        RuntimeRun();
    } catch (...) {
        UnhandledException(std::current_exception());
    }
    lateStartup.reset();
    exceptionHelper.reset();
}

void EarlyStartup() {
    RuntimeInitExternalClasses();
    InitPluginEntrypoints();
    InitFileTypes();
    NewAppInstance();
    ApplicationAddMenuHandlers();
}

void InitFileTypes() {
    FileTypes::Initialize();
}

void NewAppInstance() {
    Ref<App> app = std::make_shared<App>();
    CheckNil(app).Constructor();
    CheckNil(app).SetMenuBar(MenuBar1::instance());
    RuntimeRegisterAppObject(app);
}

void ApplicationAddMenuHandlers() {
    struct Registration {
        const char* itemName;
        bool (App::*handler)();
    };
    for (const Registration& registration : {
             Registration{"AppleAbout", &App::AppleAbout_Action},
             Registration{"CheckforUpdateCheckNow", &App::CheckforUpdateCheckNow_Action},
         }) {
        Ref<App> registrar = App::instance();
        CheckNil(registrar);
        Ref<App> target = App::instance();
        CheckNil(target);
        auto handler = RuntimeCreateDelegate(registration.handler, target, "(  ) as Boolean", false);
        registrar->AddMenuHandler(registration.itemName, handler);
    }
}

void LateStartup() {
    MakeDefaultView();
}

void MakeDefaultView() {
    (void)Window1::instance();
}

void Finalize() {
    ReleaseFrameworkGlobals();
    {
        Ref<FileType> old = std::move(FileTypes::pText);
        FileTypes::pText = nullptr;
    }
    MenuBar1::ReleaseInstance();
    Module1::Release();
}
