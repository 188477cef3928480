#pragma once
// A dialog presenter for tests: records every message and question and answers questions as scripted.

#include "framework/dialogs/DialogPresenter.h"
#include "framework/dialogs/MessageDialog.h"

#include <deque>
#include <functional>
#include <vector>

namespace testing_support {

struct RecordedQuestion {
    Ovelund::String title, message, explanation;
    std::int32_t icon;
    Ovelund::String actionCaption, cancelCaption, alternateCaption;
    bool actionVisible, cancelVisible, alternateVisible;
};

class RecordingPresenter final : public Ovelund::DialogPresenter {
public:
    void ShowMessage(const Ovelund::String& text) override {
        messages.push_back(text);
        if (onMessage)
            onMessage(text);
    }
    Answer ShowMessageDialog(const Ovelund::MessageDialog& dialog) override {
        questions.push_back(
            RecordedQuestion{dialog.Title(), dialog.Message(), dialog.Explanation(), dialog.Icon(),
                             dialog.ActionButton()->Caption(), dialog.CancelButton()->Caption(),
                             dialog.AlternateActionButton()->Caption(), dialog.ActionButton()->Visible(),
                             dialog.CancelButton()->Visible(), dialog.AlternateActionButton()->Visible()});
        if (answers.empty())
            return Answer::Cancel;
        Answer answer = answers.front();
        answers.pop_front();
        return answer;
    }

    std::vector<Ovelund::String> messages;
    std::vector<RecordedQuestion> questions;
    std::deque<Answer> answers;
    std::function<void(const Ovelund::String&)> onMessage;
};

// Installs a fresh recording presenter for the lifetime of the object.
class ScopedRecordingPresenter {
public:
    ScopedRecordingPresenter() {
        auto presenter = std::make_unique<RecordingPresenter>();
        recorder_ = presenter.get();
        previous_ = Ovelund::SetDialogPresenter(std::move(presenter));
    }
    ~ScopedRecordingPresenter() { Ovelund::SetDialogPresenter(std::move(previous_)); }
    ScopedRecordingPresenter(const ScopedRecordingPresenter&) = delete;
    ScopedRecordingPresenter& operator=(const ScopedRecordingPresenter&) = delete;

    RecordingPresenter* operator->() const { return recorder_; }
    RecordingPresenter& operator*() const { return *recorder_; }

private:
    RecordingPresenter* recorder_;
    std::unique_ptr<Ovelund::DialogPresenter> previous_;
};

} // namespace testing_support
