#pragma once
// The one place that shows modal dialogs. The default presenter shows the toolkit's real dialogs; tests
// install one that records what would be shown and answers as scripted. Texts are always shown as plain text.

#include "framework/core/String.h"

#include <memory>

namespace Ovelund {

class MessageDialog;

class DialogPresenter {
public:
    enum class Answer { Action, Cancel, Alternate };

    virtual ~DialogPresenter() = default;
    virtual void ShowMessage(const String& text) = 0;
    virtual Answer ShowMessageDialog(const MessageDialog& dialog) = 0;
};

// Installs `presenter`; nullptr brings back the default one. Returns the one that was installed before.
std::unique_ptr<DialogPresenter> SetDialogPresenter(std::unique_ptr<DialogPresenter> presenter);
DialogPresenter& CurrentDialogPresenter();

} // namespace Ovelund
