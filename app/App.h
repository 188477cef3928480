#pragma once
// The application class. Its one instance is created at start-up and registered with the framework; the
// accessor App::instance() returns it. It answers the two menu items the program serves itself, both by
// item name.

#include "framework/application/Application.h"

class App : public Ovelund::Application {
    OVELUND_OBJECT
public:
    // The registered application object, cast to App; nil before start-up has registered it.
    static Ovelund::Ref<App> instance();

    // "About Velk": shows the about window.
    bool AppleAbout_Action();
    // "Check Now": shows the self-test window.
    bool CheckforUpdateCheckNow_Action();

    void Constructor() {}
};
