#include "framework/application/Application.h"
#include "framework/application/MenuBar.h"
#include "framework/controls/Control.h"
#include "framework/controls/GroupBox.h"
#include "framework/controls/Label.h"
#include "framework/controls/Listbox.h"
#include "framework/controls/ProgressBar.h"
#include "framework/controls/PushButton.h"
#include "framework/controls/RadioButton.h"
#include "framework/controls/RectControl.h"
#include "framework/controls/TextEdit.h"
#include "framework/controls/TextField.h"
#include "framework/controls/Timer.h"
#include "framework/core/Delegate.h"
#include "framework/dialogs/MessageDialog.h"
#include "framework/net/HTTPSocket.h"
#include "framework/net/SocketCore.h"
#include "framework/net/TCPSocket.h"
#include "framework/runtime/FileType.h"
#include "framework/startup/Startup.h"
#include "framework/windows/Window.h"

namespace Ovelund {

void RegisterFrameworkClasses() {
    for (const ClassRecord* record : {
             &Object::Lookup(),
             &DelegateBase::Lookup(),
             &Application::Lookup(),
             &Window::Lookup(),
             &Control::Lookup(),
             &RectControl::Lookup(),
             &TextEdit::Lookup(),
             &TextField::Lookup(),
             &Label::Lookup(),
             &PushButton::Lookup(),
             &GroupBox::Lookup(),
             &RadioButton::Lookup(),
             &ProgressBar::Lookup(),
             &Listbox::Lookup(),
             &Timer::Lookup(),
             &SocketCore::Lookup(),
             &TCPSocket::Lookup(),
             &HTTPSocket::Lookup(),
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
