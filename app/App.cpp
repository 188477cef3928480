#include "app/App.h"

#include "about/AboutBox.h"
#include "framework/core/ClassRecord.h"
#include "update/selfTest.h"

using namespace Ovelund;

const ClassRecord& App::Lookup() {
    static const ClassRecord record = ClassBuilder<App>("App", &Application::Lookup()).Build();
    return record;
}

Ref<App> App::instance() {
    return RuntimeCheckCast<App>(GetAppObject());
}

bool App::AppleAbout_Action() {
    Ref<AboutBox> window = AboutBox::instance();
    CheckNil(window).Show();
    return false;
}

bool App::CheckforUpdateCheckNow_Action() {
    Ref<selfTest> window = selfTest::instance();
    CheckNil(window).Show();
    return false;
}
