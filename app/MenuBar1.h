#pragma once
// The program's only menu bar: "&File", "&Edit" and "Check for Update". It is built once, in its
// constructor, at the first call of instance(); the application and the main window attach the same object.

#include "framework/application/MenuBar.h"

class MenuBar1 : public Ovelund::MenuBar {
    OVELUND_OBJECT
public:
    static Ovelund::Ref<MenuBar1> instance();
    // Finalisation drops the single instance.
    static void ReleaseInstance();

    void Constructor();
    virtual void Untitled1();
    virtual void Untitled2();
    virtual void Untitled3();

private:
    static Ovelund::Ref<MenuBar1> implicitInstance;
};
