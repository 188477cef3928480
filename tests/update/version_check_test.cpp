// The reply handling's judgement of a page: the document's version against the running one, field by field
// for equality, and what the window then shows, says and does. Also the pages that end the check at once.

#include "UpdateFixture.h"

#include <QLabel>
#include <QProgressBar>

#include <cstdint>
#include <ostream>
#include <string>

using namespace Ovelund;
using update_testing::Document;
using update_testing::UpdateFixture;

namespace {

class ReplyHandling : public UpdateFixture {};

const String kCurrentText = "This version is current.";
const String kCurrentMessage = "You are using the current version. No update is available.";
const String kWaitingText = "Checking for updates...";

struct VersionCase {
    const char* what;
    String documentVersion;
    ApplicationVersion running;
    bool automaticCheck;
    bool current;
};

void PrintTo(const VersionCase& c, std::ostream* out) {
    *out << c.what;
}

class VersionCheck : public UpdateFixture, public ::testing::WithParamInterface<VersionCase> {};

TEST_P(VersionCheck, ReportsCurrentOrAsksTheUpgradeQuestion) {
    const VersionCase& c = GetParam();
    SetRunningVersion(c.running);
    Ref<updateWindow> window = updateWindow::instance();
    window->SetAutomaticCheck(c.automaticCheck);
    Ref<Label> label = window->StaticText1();
    Ref<ProgressBar> bar = window->ProgressBar1();
    auto* barWidget = Widget<QProgressBar>(*window, "ProgressBar1");
    ASSERT_NE(barWidget, nullptr);

    Receive(window, Document(c.documentVersion, "Notes", "Yes"));

    EXPECT_FALSE(bar->Visible());
    EXPECT_TRUE(barWidget->isHidden());
    if (c.current) {
        EXPECT_EQ(label->Text(), kCurrentText);
        EXPECT_EQ(dialogs->messages,
                  c.automaticCheck ? std::vector<String>{} : std::vector<String>{kCurrentMessage});
        EXPECT_TRUE(dialogs->questions.empty());
        EXPECT_FALSE(window->IsOpen());
        EXPECT_EQ(OpenUpdateWindow(), nullptr);
    } else {
        // The recording presenter answers Cancel, which closes the window; the label never changed.
        EXPECT_EQ(label->Text(), kWaitingText);
        EXPECT_TRUE(dialogs->messages.empty());
        ASSERT_EQ(dialogs->questions.size(), 1u);
        const String opening = "Version " + c.documentVersion + " is now available.";
        EXPECT_EQ(dialogs->questions[0].message.substr(0, opening.size()), opening);
    }
}

const ApplicationVersion k300{3, 0, 0, "3.0.0", "3.0.0"};

INSTANTIATE_TEST_SUITE_P(
    Cases, VersionCheck,
    ::testing::Values(
        VersionCase{"equal", "3.0.0", k300, false, true},
        VersionCase{"equal, automatic check", "3.0.0", k300, true, true},
        VersionCase{"two fields against bug 0", "3.0", k300, false, true},
        VersionCase{"one field against minor and bug 0", "3", k300, false, true},
        VersionCase{"four fields, the fourth ignored", "3.0.0.42", k300, false, true},
        VersionCase{"fields with leading zeros", "03.00.000", k300, false, true},
        VersionCase{"older", "2.9.9", k300, false, false},
        VersionCase{"different major", "4.0.0", k300, false, false},
        VersionCase{"different minor", "3.1.0", k300, false, false},
        VersionCase{"different bug", "3.0.1", k300, false, false},
        VersionCase{"the running version newer", "3.0.0", {3, 0, 1, "3.0.1", "3.0.1"}, false, false},
        VersionCase{
            "two fields against a running bug version", "3.0", {3, 0, 2, "3.0.2", "3.0.2"}, false, false},
        VersionCase{"a different version with automatic check", "3.1.0", k300, true, false},
        VersionCase{"an empty version", "", k300, false, false},
        VersionCase{"a field beyond 64 bits", "99999999999999999999999.0.0", k300, false, false},
        VersionCase{"a field beyond the range of double", "1e999.0.0", k300, false, false},
        VersionCase{"a running version at the Int32 limits",
                    "2147483647.-2147483648.0",
                    {2147483647, -2147483647 - 1, 0, "x", "x"},
                    false,
                    true}));

TEST_F(ReplyHandling, AnEmptyPageClosesTheWindowSilently) {
    Ref<updateWindow> window = updateWindow::instance();
    Receive(window, "");
    EXPECT_FALSE(window->IsOpen());
    EXPECT_TRUE(dialogs->messages.empty());
    EXPECT_TRUE(dialogs->questions.empty());
    EXPECT_EQ(BeepsSinceSetUp(), 0u);
}

// An error page is no update document: it is the communication error, with the HTTP status as its code,
// and no upgrade to an empty version is offered.
TEST_F(ReplyHandling, AnErrorPageIsReportedAsACommunicationErrorWithItsStatus) {
    struct StatusCase {
        std::int32_t status;
        const char* message;
    };
    const StatusCase cases[] = {
        {404, "There was a communication error with the website. Please try again later. (Code: 404)"},
        {500, "There was a communication error with the website. Please try again later. (Code: 500)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.status);
        dialogs->messages.clear();
        Ref<updateWindow> window = updateWindow::instance();
        Receive(window, "<html><head><title>Not Found</title></head><body>Not Found</body></html>", c.status);
        EXPECT_TRUE(dialogs->questions.empty());
        EXPECT_EQ(dialogs->messages, std::vector<String>{c.message});
        EXPECT_FALSE(window->IsOpen());
    }
}

// A page whose status line holds no number comes with the status 0, which is no error code: whatever
// answered spoke no HTTP, so it is the lost connection, even when the page reads as an update document.
TEST_F(ReplyHandling, APageWithoutAStatusNumberIsTheLostConnection) {
    const String pages[] = {"<html><body>Not Found</body></html>", Document("3.1.0", "Faster", "Yes")};
    for (const String& page : pages) {
        SCOPED_TRACE(page);
        dialogs->messages.clear();
        Ref<updateWindow> window = updateWindow::instance();
        Receive(window, page, 0);
        EXPECT_TRUE(dialogs->questions.empty());
        EXPECT_EQ(
            dialogs->messages,
            std::vector<String>{
                "There was a communication error with the website. Please try again later. (Code: 102)"});
        EXPECT_FALSE(window->IsOpen());
    }
}

// Only a status from 200 to 299 is a success; on either side of that window the page is an error page.
TEST_F(ReplyHandling, OnlyAStatusFrom200To299IsASuccess) {
    const String error = "There was a communication error with the website. Please try again later. (Code: ";
    struct StatusCase {
        std::int32_t status;
        String message;
    };
    const StatusCase cases[] = {
        {199, error + "199)"},
        {200, kCurrentMessage},
        {299, kCurrentMessage},
        {300, error + "300)"},
    };
    SetRunningVersion(k300);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.status);
        dialogs->messages.clear();
        Ref<updateWindow> window = updateWindow::instance();
        Receive(window, Document("3.0.0", "Notes", "Yes"), c.status);
        EXPECT_TRUE(dialogs->questions.empty());
        EXPECT_EQ(dialogs->messages, std::vector<String>{c.message});
        EXPECT_FALSE(window->IsOpen());
    }
}

// A successful page without the start tag of the version is no update document (a network's sign-in page,
// a host's error page served as a success): the communication error with the code of a lost connection,
// never the question. A page with the tag is read as a document, whatever else it lacks.
TEST_F(ReplyHandling, ASuccessfulPageWithoutTheVersionTagIsACommunicationError) {
    const String error =
        "There was a communication error with the website. Please try again later. (Code: 102)";
    struct PageCase {
        const char* what;
        String page;
        bool document;
    };
    const PageCase cases[] = {
        {"a sign-in page",
         "<html><body><form action=\"/login\">Sign in to use this network</form></body></html>", false},
        {"the other elements only", "<Description>Faster.</Description><Free>Yes</Free>", false},
        {"the end tag only", "3.1.0</CurrentVersion>", false},
        {"the tag in other letter case", "<currentversion>3.1.0</currentversion>", false},
        {"the tag with an attribute", "<CurrentVersion id=\"1\">3.1.0</CurrentVersion>", false},
        {"the start tag without an end tag", "<CurrentVersion>3.1.0", true},
        {"the version element alone", "<CurrentVersion>3.1.0</CurrentVersion>", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        dialogs->messages.clear();
        dialogs->questions.clear();
        const std::uint64_t beepsBefore = BeepsSinceSetUp();
        Ref<updateWindow> window = updateWindow::instance();
        Receive(window, c.page, 200);
        if (c.document) {
            EXPECT_TRUE(dialogs->messages.empty());
            EXPECT_EQ(dialogs->questions.size(), 1u);
        } else {
            EXPECT_EQ(BeepsSinceSetUp(), beepsBefore + 1);
            EXPECT_EQ(dialogs->messages, std::vector<String>{error});
            EXPECT_TRUE(dialogs->questions.empty());
        }
        EXPECT_FALSE(window->IsOpen());
    }
}

struct ErrorCase {
    std::int32_t code;
    const char* message;
};

void PrintTo(const ErrorCase& c, std::ostream* out) {
    *out << "code " << c.code;
}

class ConnectionError : public UpdateFixture, public ::testing::WithParamInterface<ErrorCase> {};

TEST_P(ConnectionError, BeepsReportsTheCodeAndCloses) {
    Ref<updateWindow> window = updateWindow::instance();
    window->hp_Error(window->hp(), GetParam().code);
    EXPECT_EQ(BeepsSinceSetUp(), 1u);
    EXPECT_EQ(dialogs->messages, std::vector<String>{GetParam().message});
    EXPECT_TRUE(dialogs->questions.empty());
    EXPECT_FALSE(window->IsOpen());
}

INSTANTIATE_TEST_SUITE_P(
    Codes, ConnectionError,
    ::testing::Values(
        ErrorCase{12, "There was a communication error with the website. Please try again later. (Code: 12)"},
        ErrorCase{0, "There was a communication error with the website. Please try again later. (Code: 0)"},
        ErrorCase{-2147483647 - 1, "There was a communication error with the website. Please try again "
                                   "later. (Code: -2147483648)"}),
    [](const ::testing::TestParamInfo<ErrorCase>& info) {
        const std::int32_t code = info.param.code;
        return code < 0 ? "CodeMinus" + std::to_string(-static_cast<std::int64_t>(code))
                        : "Code" + std::to_string(code);
    });

// A reply can only reach a closed window that someone still holds; it must act on nothing.
TEST_F(ReplyHandling, RepliesToAClosedWindowActOnNothing) {
    Ref<updateWindow> window = updateWindow::instance();
    Ref<HTTPSocket> client = window->hp();
    window->Close();
    Receive(window, Document("3.0.0", "", "Yes"));
    Receive(window, Document("3.1.0", "", "Yes"));
    Receive(window, "");
    window->hp_Error(client, 102);
    EXPECT_TRUE(dialogs->messages.empty());
    EXPECT_TRUE(dialogs->questions.empty());
    EXPECT_EQ(BeepsSinceSetUp(), 0u);
    EXPECT_EQ(OpenUpdateWindow(), nullptr);
}

} // namespace
