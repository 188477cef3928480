// The reply handling of the update check: the page received, a failed connection, and the upgrade question.
//
// An empty page closes the window without a word, whatever its status. A page whose HTTP status is no
// success (an error page of the web host, say) is no update document: read as one it would ask the user to
// upgrade to an empty version. It is reported as the communication error, with the HTTP status as its code.
// A successful page without the start tag of CurrentVersion is no update document either: a network's
// sign-in page, or an error page that its host serves as a success. The update service was not really
// reached, so it is the communication error with the code of a lost connection (102). So is a page whose
// status line holds no status number (the client's status 0): whatever answered spoke no HTTP, and the
// code 0 would tell the user of no error at all. A successful page with that tag is read as a document,
// whatever else it lacks.
//
// A handler that finds its window closed does nothing: closing drops hp, so no reply should arrive then,
// and acting on it would only fail on the controls that went with the window.

#include "app/App.h"
#include "app/WebAddresses.h"
#include "framework/core/Text.h"
#include "framework/dialogs/MessageDialog.h"
#include "framework/dialogs/MsgBox.h"
#include "framework/net/SocketErrors.h"
#include "framework/runtime/Platform.h"
#include "update/updateWindow.h"

using namespace Ovelund;

namespace {

// Field n of the document's version, read as a number, against the running number: exact equality of
// doubles, so fields that read as NaN or infinity never match.
bool FieldMatches(const String& version, std::int64_t n, std::int32_t running) {
    return Val(NthField(version, ".", n)) == static_cast<double>(running);
}

} // namespace

void updateWindow::hp_PageReceived(Ref<HTTPSocket> client, String, std::int32_t status, Ref<InternetHeaders>,
                                   String content) {
    if (!IsOpen())
        return;
    if (content.empty()) {
        Close();
        return;
    }
    if (status == 0) {
        hp_Error(client, SocketError::kLostConnection);
        return;
    }
    if (status < 200 || status > 299) {
        hp_Error(client, status);
        return;
    }
    if (InStr(0, content, startTag("CurrentVersion")) == 0) {
        hp_Error(client, SocketError::kLostConnection);
        return;
    }
    const String version = returnValue(content, "CurrentVersion");
    const String description = returnValue(content, "Description");
    const bool isFree = returnValue(content, "Free") == "Yes";

    Ref<ProgressBar> bar = ProgressBar1();
    CheckNil(bar).SetVisible(false);

    // Equality, not an ordering: a running version newer than the document's is not current either. The
    // fields are compared in turn and the first difference decides.
    Ref<App> app = App::instance();
    CheckNil(app);
    const bool current = FieldMatches(version, 1, app->MajorVersion()) &&
                         FieldMatches(version, 2, app->MinorVersion()) &&
                         FieldMatches(version, 3, app->BugVersion());
    if (current) {
        Ref<Label> label = StaticText1();
        CheckNil(label).SetText("This version is current.");
        label->Refresh(true);
        if (!automaticCheck())
            MsgBox("You are using the current version. No update is available.");
        Close();
        return;
    }
    askUpgrade(version, description, WebAddresses::DownloadURL, isFree);
}

void updateWindow::hp_Error(Ref<HTTPSocket>, std::int32_t code) {
    if (!IsOpen())
        return;
    Beep();
    MsgBox("There was a communication error with the website. Please try again later. (Code: " + Str(code) +
           ")");
    Close();
}

void updateWindow::askUpgrade(const String& version, const String& description, const String& downloadURL,
                              bool isFree) {
    Ref<App> app = App::instance();
    CheckNil(app);
    auto dialog = std::make_shared<MessageDialog>();
    dialog->SetTitle("New version available!");
    dialog->SetMessage(
        "Version " + version + " is now available. (You are using version " + app->ShortVersion() +
        (isFree ? ".) This is a free upgrade. Would you like to automatically download this "
                  "update (using your web browser)?"
                : ".) This is a paid upgrade. Would you like to automatically download the trial "
                  "version (using your web browser)?"));
    dialog->SetExplanation(description);
    CheckNil(dialog->CancelButton()).SetVisible(true);
    Ref<MessageDialogButton> alternate = dialog->AlternateActionButton();
    CheckNil(alternate).SetCaption("Go to Website");
    alternate->SetVisible(true);
    dialog->SetIcon(MessageDialog::IconQuestion);

    // The pressed button is one of the dialog's own three, told apart by identity. "Go to Website" leaves
    // the window open: its "Cancel" or close box ends the check.
    const Ref<MessageDialogButton> pressed = dialog->ShowModal();
    if (pressed == dialog->CancelButton()) {
        Close();
    } else if (pressed == dialog->ActionButton()) {
        ShowURL(downloadURL);
        Close();
    } else if (pressed == alternate) {
        ShowURL(WebAddresses::MakerWebSite);
    }
}
