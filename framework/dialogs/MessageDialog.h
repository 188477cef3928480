#pragma once
// The three-button question dialog. ShowModal returns the button the user pressed, one of the dialog's own
// three button objects, which callers compare by identity.

#include "framework/core/ClassRecord.h"
#include "framework/core/Object.h"
#include "framework/core/String.h"

#include <cstdint>

namespace Ovelund {

class MessageDialogButton : public Object {
    OVELUND_OBJECT
public:
    const String& Caption() const { return caption_; }
    void SetCaption(const String& caption) { caption_ = caption; }
    bool Visible() const { return visible_; }
    void SetVisible(bool visible) { visible_ = visible; }
    bool Default() const { return default_; }
    void SetDefault(bool isDefault) { default_ = isDefault; }
    bool Cancel() const { return cancel_; }
    void SetCancel(bool isCancel) { cancel_ = isCancel; }

private:
    String caption_;
    bool visible_ = false;
    bool default_ = false;
    bool cancel_ = false;
};

class MessageDialog : public Object {
    OVELUND_OBJECT
public:
    // The icon beside the message, by number: 0 note (information), 1 caution (warning), 2 stop (a
    // critical error), 3 question. Any other number, -1 say, shows none. A new dialog has 0.
    enum IconNumber : std::int32_t {
        IconNote = 0,
        IconCaution = 1,
        IconStop = 2,
        IconQuestion = 3,
    };

    MessageDialog();

    const String& Title() const { return title_; }
    void SetTitle(const String& title) { title_ = title; }
    const String& Message() const { return message_; }
    void SetMessage(const String& message) { message_ = message; }
    const String& Explanation() const { return explanation_; }
    void SetExplanation(const String& explanation) { explanation_ = explanation; }
    std::int32_t Icon() const { return icon_; }
    void SetIcon(std::int32_t icon) { icon_ = icon; }

    const Ref<MessageDialogButton>& ActionButton() const { return actionButton_; }
    const Ref<MessageDialogButton>& CancelButton() const { return cancelButton_; }
    const Ref<MessageDialogButton>& AlternateActionButton() const { return alternateActionButton_; }

    // Shows the dialog modally; the result is the button pressed (the cancel button when the dialog is
    // dismissed otherwise).
    Ref<MessageDialogButton> ShowModal();

private:
    String title_;
    String message_;
    String explanation_;
    std::int32_t icon_ = 0;
    Ref<MessageDialogButton> actionButton_;
    Ref<MessageDialogButton> cancelButton_;
    Ref<MessageDialogButton> alternateActionButton_;
};

} // namespace Ovelund
