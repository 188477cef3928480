#pragma once
// The "Update" window: one update check. Opening it starts an HTTP GET of the update document through its
// client control hp; the reply handling reads the document and either reports the running version as
// current or asks whether to upgrade. "Cancel" closes the window at any time; closing it drops hp, which
// abandons a request still running, so a late reply acts on nothing.

#include "framework/controls/Label.h"
#include "framework/controls/PaneChild.h"
#include "framework/controls/ProgressBar.h"
#include "framework/controls/PushButton.h"
#include "framework/net/HTTPSocket.h"
#include "framework/windows/Window.h"

#include <cstdint>

// The class of the window's HTTP client, "updateWindow.hp": an HTTPSocket the window holds as a control.
class updateWindowHp : public Ovelund::HTTPSocket, public Ovelund::PaneChild {
    OVELUND_OBJECT
public:
    void Constructor() override { HTTPSocket::Constructor(); }
};

class updateWindow : public Ovelund::Window {
    OVELUND_OBJECT
public:
    // The open update window, or a new one, which starts its request as it opens.
    static Ovelund::Ref<updateWindow> instance();

    void Layout();
    void CreateControls();
    void CreateControls0();

    // Control accessors: the control registered under the name, or nil.
    Ovelund::Ref<Ovelund::Label> StaticText1();
    Ovelund::Ref<Ovelund::ProgressBar> ProgressBar1();
    Ovelund::Ref<Ovelund::HTTPSocket> hp();
    Ovelund::Ref<Ovelund::PushButton> PushButton1();

    // Control handlers.
    void hp_PageReceived(Ovelund::Ref<Ovelund::HTTPSocket> sender, Ovelund::String url, std::int32_t status,
                         Ovelund::Ref<Ovelund::InternetHeaders> headers, Ovelund::String content);
    void hp_Error(Ovelund::Ref<Ovelund::HTTPSocket> sender, std::int32_t code);
    void PushButton1_Action(Ovelund::Ref<Ovelund::PushButton> sender);

    // Window events.
    void Event_Open();

    // The update document's tags and the reader of one element's value (see UpdateDocument.cpp).
    Ovelund::String startTag(const Ovelund::String& name) const;
    Ovelund::String endTag(const Ovelund::String& name) const;
    // Asks whether to upgrade to `version` and acts on the answer (see UpdateReply.cpp).
    void askUpgrade(const Ovelund::String& version, const Ovelund::String& description,
                    const Ovelund::String& downloadURL, bool isFree);
    Ovelund::String returnValue(const Ovelund::String& text, const Ovelund::String& name) const;

    // When True, a current version is reported in the window only, without the message box.
    bool automaticCheck() const { return automaticCheck_; }
    void SetAutomaticCheck(bool value);

private:
    bool automaticCheck_ = false;
};
