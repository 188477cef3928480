#include "framework/Application.h"
#include "framework/Control.h"
#include "framework/Delegate.h"
#include "framework/FileType.h"
#include "framework/GroupBox.h"
#include "framework/Label.h"
#include "framework/Listbox.h"
#include "framework/MenuBar.h"
#include "framework/MessageDialog.h"
#include "framework/ProgressBar.h"
#include "framework/PushButton.h"
#include "framework/RadioButton.h"
#include "framework/RectControl.h"
#include "framework/Runtime.h"
#include "framework/TextEdit.h"
#include "framework/TextField.h"
#include "framework/Timer.h"
#include "framework/Window.h"
#include "framework/net/HTTPSocket.h"
#include "framework/net/SocketCore.h"
#include "framework/net/TCPSocket.h"

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
