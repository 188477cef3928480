#include "framework/Application.h"
#include "framework/Control.h"
#include "framework/Delegate.h"
#include "framework/FileType.h"
#include "framework/MenuBar.h"
#include "framework/MessageDialog.h"
#include "framework/RectControl.h"
#include "framework/Runtime.h"
#include "framework/Timer.h"
#include "framework/Window.h"

namespace Ovelund {

void RegisterFrameworkClasses() {
    for (const ClassRecord* record : {
             &Object::Lookup(),
             &DelegateBase::Lookup(),
             &Application::Lookup(),
             &Window::Lookup(),
             &Control::Lookup(),
             &RectControl::Lookup(),
             &Timer::Lookup(),
             &MenuItem::Lookup(),
             &MenuBar::Lookup(),
             &QuitMenuItem::Lookup(),
             &AppleMenuItem::Lookup(),
             &FileType::Lookup(),
             &MessageDialog::Lookup(),
             &MessageDialogButton::Lookup(),
         })
        RuntimeRegisterClass(*record);
}

} // namespace Ovelund
