#pragma once
// The default presenter: the toolkit's real modal dialogs, every text shown as plain text.

#include "framework/dialogs/DialogPresenter.h"

namespace Ovelund {

class QtDialogPresenter final : public DialogPresenter {
public:
    void ShowMessage(const String& text) override;
    Answer ShowMessageDialog(const MessageDialog& dialog) override;
};

} // namespace Ovelund
