#include "framework/dialogs/DialogPresenter.h"
#include "framework/dialogs/MessageDialog.h"
#include "framework/dialogs/MsgBox.h"
#include "framework/dialogs/QtDialogPresenter.h"
#include "framework/runtime/UIThread.h"

namespace Ovelund {

namespace {
std::unique_ptr<DialogPresenter>& Installed() {
    static std::unique_ptr<DialogPresenter> presenter;
    return presenter;
}
} // namespace

std::unique_ptr<DialogPresenter> SetDialogPresenter(std::unique_ptr<DialogPresenter> presenter) {
    auto previous = std::move(Installed());
    Installed() = std::move(presenter);
    return previous;
}

DialogPresenter& CurrentDialogPresenter() {
    static QtDialogPresenter standard;
    auto& installed = Installed();
    return installed ? *installed : standard;
}

void MsgBox(const String& text) {
    CheckUIThread();
    CurrentDialogPresenter().ShowMessage(text);
}

const ClassRecord& MessageDialogButton::Lookup() {
    static const ClassRecord record =
        ClassBuilder<MessageDialogButton>("MessageDialogButton", &Object::Lookup()).Build();
    return record;
}

const ClassRecord& MessageDialog::Lookup() {
    static const ClassRecord record = ClassBuilder<MessageDialog>("MessageDialog", &Object::Lookup()).Build();
    return record;
}

MessageDialog::MessageDialog()
    : actionButton_(std::make_shared<MessageDialogButton>()),
      cancelButton_(std::make_shared<MessageDialogButton>()),
      alternateActionButton_(std::make_shared<MessageDialogButton>()) {
    actionButton_->SetCaption("OK");
    actionButton_->SetVisible(true);
    actionButton_->SetDefault(true);
    cancelButton_->SetCaption("Cancel");
    cancelButton_->SetCancel(true);
    alternateActionButton_->SetCaption("");
}

Ref<MessageDialogButton> MessageDialog::ShowModal() {
    CheckUIThread();
    switch (CurrentDialogPresenter().ShowMessageDialog(*this)) {
    case DialogPresenter::Answer::Action:
        return actionButton_;
    case DialogPresenter::Answer::Alternate:
        return alternateActionButton_;
    case DialogPresenter::Answer::Cancel:
        break;
    }
    return cancelButton_;
}

} // namespace Ovelund
