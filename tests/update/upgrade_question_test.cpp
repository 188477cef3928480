// The upgrade question: its texts, icon and buttons for free and paid upgrades, and what each answer does.

#include "UpdateFixture.h"

#include <QAbstractButton>
#include <QLabel>
#include <QProgressBar>

#include <ostream>

using namespace Ovelund;
using update_testing::Document;
using update_testing::UpdateFixture;
using Answer = DialogPresenter::Answer;

namespace {

class UpgradeQuestionTest : public UpdateFixture {};

const String kFreeMessage = "Version 3.1.0 is now available. (You are using version 3.0.0.) This is a free "
                            "upgrade. Would you like to automatically download this update (using your web "
                            "browser)?";
const String kPaidMessage = "Version 3.1.0 is now available. (You are using version 3.0.0.) This is a paid "
                            "upgrade. Would you like to automatically download the trial version (using your "
                            "web browser)?";

struct WordingCase {
    const char* what;
    String document;
    String message;
};

void PrintTo(const WordingCase& c, std::ostream* out) {
    *out << c.what;
}

class UpgradeQuestion : public UpdateFixture, public ::testing::WithParamInterface<WordingCase> {};

TEST_P(UpgradeQuestion, HasTheTextsIconAndButtons) {
    Ref<updateWindow> window = updateWindow::instance();
    Receive(window, GetParam().document);

    ASSERT_EQ(dialogs->questions.size(), 1u);
    const testing_support::RecordedQuestion& question = dialogs->questions[0];
    EXPECT_EQ(question.title, "New version available!");
    EXPECT_EQ(question.message, GetParam().message);
    EXPECT_EQ(question.explanation, "Faster.\nSmaller.");
    EXPECT_EQ(question.icon, 3);
    EXPECT_EQ(question.alternateCaption, "Go to Website");
    EXPECT_TRUE(question.alternateVisible);
    EXPECT_TRUE(question.cancelVisible);
    // The action and cancel buttons keep the dialog's own captions, and the action button its visibility.
    MessageDialog fresh;
    EXPECT_EQ(question.actionCaption, fresh.ActionButton()->Caption());
    EXPECT_EQ(question.actionVisible, fresh.ActionButton()->Visible());
    EXPECT_EQ(question.cancelCaption, fresh.CancelButton()->Caption());
}

INSTANTIATE_TEST_SUITE_P(
    Wordings, UpgradeQuestion,
    ::testing::Values(
        WordingCase{"Free Yes", Document("3.1.0", "Faster.\nSmaller.", "Yes"), kFreeMessage},
        WordingCase{"Free No", Document("3.1.0", "Faster.\nSmaller.", "No"), kPaidMessage},
        WordingCase{"Free yes in lower case", Document("3.1.0", "Faster.\nSmaller.", "yes"), kPaidMessage},
        WordingCase{"Free with a blank", Document("3.1.0", "Faster.\nSmaller.", " Yes"), kPaidMessage},
        WordingCase{"Free with a line break", Document("3.1.0", "Faster.\nSmaller.", "Yes\n"), kPaidMessage},
        WordingCase{"no Free element",
                    "<CurrentVersion>3.1.0</CurrentVersion><Description>Faster.\nSmaller.</Description>",
                    kPaidMessage}));

// Text from the server reaches the question exactly as sent: no markup is interpreted, no reference decoded.
TEST_F(UpgradeQuestionTest, TheQuestionShowsTheServersTextAsItStands) {
    Ref<updateWindow> window = updateWindow::instance();
    Receive(window, Document("<b>9</b>", "<a href=\"x\">link</a> &amp; more", "Yes"));
    ASSERT_EQ(dialogs->questions.size(), 1u);
    EXPECT_EQ(
        dialogs->questions[0].message,
        "Version <b>9</b> is now available. (You are using version 3.0.0.) This is a free upgrade. Would "
        "you like to automatically download this update (using your web browser)?");
    EXPECT_EQ(dialogs->questions[0].explanation, "<a href=\"x\">link</a> &amp; more");
}

TEST_F(UpgradeQuestionTest, TheQuestionNamesTheRunningShortVersion) {
    SetRunningVersion({2, 5, 0, "2.5", "2.5.0 long"});
    Ref<updateWindow> window = updateWindow::instance();
    Receive(window, Document("3.1.0", "", "Yes"));
    ASSERT_EQ(dialogs->questions.size(), 1u);
    EXPECT_EQ(
        dialogs->questions[0].message,
        "Version 3.1.0 is now available. (You are using version 2.5.) This is a free upgrade. Would you "
        "like to automatically download this update (using your web browser)?");
}

struct AnswerCase {
    const char* what;
    Answer answer;
    QStringList opened;
    bool staysOpen;
};

void PrintTo(const AnswerCase& c, std::ostream* out) {
    *out << c.what;
}

class UpgradeAnswer : public UpdateFixture, public ::testing::WithParamInterface<AnswerCase> {};

TEST_P(UpgradeAnswer, OpensItsAddressAndClosesOrKeepsTheWindow) {
    const AnswerCase& c = GetParam();
    Ref<updateWindow> window = updateWindow::instance();
    dialogs->answers.push_back(c.answer);
    Receive(window, Document("3.1.0", "Faster.", "Yes"));

    EXPECT_EQ(dialogs->questions.size(), 1u);
    EXPECT_EQ(urls.opened, c.opened);
    EXPECT_TRUE(dialogs->messages.empty());
    EXPECT_EQ(window->IsOpen(), c.staysOpen);
    EXPECT_EQ(OpenUpdateWindow() == window, c.staysOpen);
}

INSTANTIATE_TEST_SUITE_P(
    Answers, UpgradeAnswer,
    ::testing::Values(
        AnswerCase{"cancel", Answer::Cancel, {}, false},
        AnswerCase{"action",
                   Answer::Action,
                   {QStringLiteral("http://www.example.com/Downloads/tarnwick.tar.gz")},
                   false},
        AnswerCase{"Go to Website", Answer::Alternate, {QStringLiteral("http://www.example.com")}, true}));

TEST_F(UpgradeQuestionTest, AfterGoToWebsiteTheWindowWaitsForItsCancelButton) {
    Ref<updateWindow> window = updateWindow::instance();
    dialogs->answers.push_back(Answer::Alternate);
    Receive(window, Document("3.1.0", "Faster.", "Yes"));

    ASSERT_TRUE(window->IsOpen());
    EXPECT_FALSE(window->ProgressBar1()->Visible());
    EXPECT_TRUE(Widget<QProgressBar>(*window, "ProgressBar1")->isHidden());
    EXPECT_EQ(window->StaticText1()->Text(), "Checking for updates...");
    EXPECT_EQ(Widget<QLabel>(*window, "StaticText1")->text(), QStringLiteral("Checking for updates..."));

    Widget<QAbstractButton>(*window, "PushButton1")->click();
    EXPECT_FALSE(window->IsOpen());
    EXPECT_EQ(OpenUpdateWindow(), nullptr);
    EXPECT_EQ(urls.opened, QStringList{QStringLiteral("http://www.example.com")});
}

} // namespace
