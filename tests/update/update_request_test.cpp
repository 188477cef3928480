// The update check over a real connection: a loopback server stands in for the maker's host. The window's
// own request goes to port 80, which a test cannot rely on binding, so each test points the window's client
// at the server's port with a Get of its own, which ends the window's first request.

#include "UpdateFixture.h"

#include "framework/core/Text.h"
#include "framework/net/SocketErrors.h"
#include "framework/net/TCPSocket.h"
#include "support/FullBacklogListener.h"
#include "support/Wait.h"

#include <QAbstractButton>

using namespace Ovelund;
using testing_support::RunFor;
using testing_support::RunUntil;
using update_testing::Bytes;
using update_testing::Document;
using update_testing::UpdateDocumentUrl;
using update_testing::UpdateFixture;
using update_testing::UpdateServer;
using Answer = DialogPresenter::Answer;

namespace {

class UpdateRequest : public UpdateFixture {
protected:
    Ref<updateWindow> StartCheck(const std::string& url) {
        Ref<updateWindow> window = updateWindow::instance();
        window->hp()->Get(url);
        return window;
    }
    static bool WaitForClose(const Ref<updateWindow>& window) {
        return RunUntil([&] { return !window->IsOpen(); });
    }

    UpdateServer server;
};

TEST_F(UpdateRequest, ACurrentDocumentEndsTheCheck) {
    server.ReplyWith(UpdateServer::HttpReply(200, Bytes(Document("3.0.0", "Nothing new.", "Yes"))));
    Ref<updateWindow> window = StartCheck(server.url());
    Ref<Label> label = window->StaticText1();
    ASSERT_TRUE(WaitForClose(window));

    // The request line and the Host header; the client's own tests cover the rest of the bytes.
    const QList<QByteArray> lines = server.latestRequest().split('\n');
    EXPECT_EQ(lines.value(0), QByteArray("GET /Updates/tarnwick.xml HTTP/1.0\r"));
    EXPECT_TRUE(lines.contains("Host: www.example.com:" + QByteArray::number(server.port()) + "\r"))
        << server.latestRequest().toStdString();
    EXPECT_EQ(server.connections(), 1);

    EXPECT_EQ(label->Text(), "This version is current.");
    EXPECT_EQ(dialogs->messages,
              std::vector<String>{"You are using the current version. No update is available."});
    EXPECT_TRUE(dialogs->questions.empty());
}

// A reply without Content-Length ends when the server closes the connection.
TEST_F(UpdateRequest, ANewerDocumentAsksAndTheActionOpensTheDownload) {
    server.ReplyWith("HTTP/1.0 200 OK\r\nContent-Type: text/xml\r\n\r\n" +
                     Bytes(Document("3.1.0", "Faster.", "Yes")));
    dialogs->answers.push_back(Answer::Action);
    Ref<updateWindow> window = StartCheck(server.url());
    ASSERT_TRUE(WaitForClose(window));

    ASSERT_EQ(dialogs->questions.size(), 1u);
    EXPECT_EQ(
        dialogs->questions[0].message,
        "Version 3.1.0 is now available. (You are using version 3.0.0.) This is a free upgrade. Would you "
        "like to automatically download this update (using your web browser)?");
    EXPECT_EQ(dialogs->questions[0].explanation, "Faster.");
    EXPECT_EQ(urls.opened, QStringList{QStringLiteral("http://www.example.com/Downloads/tarnwick.tar.gz")});
}

TEST_F(UpdateRequest, AConnectionClosedWithoutAReplyClosesTheWindowSilently) {
    server.ReplyWith({}, true);
    Ref<updateWindow> window = StartCheck(server.url());
    ASSERT_TRUE(WaitForClose(window));
    EXPECT_TRUE(dialogs->messages.empty());
    EXPECT_TRUE(dialogs->questions.empty());
    EXPECT_EQ(BeepsSinceSetUp(), 0u);
}

TEST_F(UpdateRequest, ARefusedConnectionBeepsAndReportsTheSocketsCode) {
    Ref<updateWindow> window = StartCheck(RefusingUrl());
    ASSERT_TRUE(WaitForClose(window));
    EXPECT_EQ(BeepsSinceSetUp(), 1u);
    EXPECT_EQ(dialogs->messages,
              std::vector<String>{"There was a communication error with the website. Please try again later. "
                                  "(Code: " +
                                  Str(SocketError::kLostConnection) + ")"});
}

// A reply cut short, a success page that is no update document and a reply without a status number are the
// communication error with the code of a lost connection: never a question, never the code 0.
TEST_F(UpdateRequest, RepliesCutShortAndPagesThatAreNoDocumentAreTheCommunicationError) {
    const QByteArray document = Bytes(Document("3.1.0", "Faster.", "Yes"));
    struct Case {
        const char* what;
        QByteArray reply;
        bool reset;
    };
    const Case cases[] = {
        {"closed before the announced length",
         "HTTP/1.0 200 OK\r\nContent-Length: " + QByteArray::number(document.size() + 100) + "\r\n\r\n" +
             document,
         false},
        {"reset within a body that ends on close", "HTTP/1.0 200 OK\r\n\r\n" + document, true},
        {"a network's sign-in page",
         UpdateServer::HttpReply(200, "<html><body><form>Sign in to use this network</form></body></html>"),
         false},
        {"a status line without a status number", "HTTP/1.0 OK\r\n\r\n" + document, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        dialogs->messages.clear();
        const std::uint64_t beeps = BeepsSinceSetUp();
        UpdateServer host;
        host.ReplyWith(c.reply);
        if (c.reset)
            host.ResetInsteadOfClosing();
        Ref<updateWindow> window = StartCheck(host.url());
        ASSERT_TRUE(WaitForClose(window));
        EXPECT_EQ(BeepsSinceSetUp(), beeps + 1);
        EXPECT_EQ(dialogs->messages,
                  std::vector<String>{"There was a communication error with the website. Please try again "
                                      "later. (Code: 102)"});
        EXPECT_TRUE(dialogs->questions.empty());
    }
}

// A host that never answers: the window waits with its busy bar, through every attempt the system gives up
// on (made to come soon here), until its "Cancel" closes it without a word.
TEST_F(UpdateRequest, AHostThatNeverAnswersKeepsTheWindowWaitingUntilCancel) {
    testing_support::FullBacklogListener silent;
    TCPSocket::SetConnectAttemptLimit(200);
    struct RestoreLimit {
        ~RestoreLimit() { TCPSocket::SetConnectAttemptLimit(0); }
    } restore;
    Ref<updateWindow> window = StartCheck(UpdateDocumentUrl(silent.port()));
    Ref<TCPSocket> client = window->hp();
    const std::uint64_t first = client->ConnectAttempts();
    RunUntil([&] { return client->ConnectAttempts() >= first + 2 || !window->IsOpen(); }, 60'000);
    ASSERT_TRUE(window->IsOpen());
    EXPECT_GE(client->ConnectAttempts(), first + 2);
    EXPECT_EQ(window->ProgressBar1()->Maximum(), 0);
    EXPECT_TRUE(window->ProgressBar1()->Visible());
    EXPECT_EQ(window->StaticText1()->Text(), "Checking for updates...");

    Widget<QAbstractButton>(*window, "PushButton1")->click();
    EXPECT_FALSE(window->IsOpen());
    RunFor(200);
    EXPECT_TRUE(dialogs->messages.empty());
    EXPECT_TRUE(dialogs->questions.empty());
    EXPECT_EQ(BeepsSinceSetUp(), 0u);
}

// Closing the window drops its client, which ends the connection: the reply the server sends afterwards
// reaches no one.
TEST_F(UpdateRequest, AReplyAfterCancelActsOnNothing) {
    Ref<updateWindow> window = StartCheck(server.url());
    ASSERT_TRUE(RunUntil([&] { return server.requestComplete(); }));
    Widget<QAbstractButton>(*window, "PushButton1")->click();
    EXPECT_FALSE(window->IsOpen());

    server.SendOnHeldConnection(UpdateServer::HttpReply(200, Bytes(Document("3.1.0", "", "Yes"))));
    EXPECT_TRUE(RunUntil([&] { return server.connectionClosed(); }));
    RunFor(200);
    EXPECT_TRUE(dialogs->messages.empty());
    EXPECT_TRUE(dialogs->questions.empty());
    EXPECT_EQ(BeepsSinceSetUp(), 0u);
    EXPECT_EQ(OpenUpdateWindow(), nullptr);
}

// The same for an outcome that is already on its way: the refusal of a connection.
TEST_F(UpdateRequest, AnErrorAfterCloseActsOnNothing) {
    Ref<updateWindow> window = StartCheck(RefusingUrl());
    window->Close();
    window.reset();
    RunFor(200);
    EXPECT_TRUE(dialogs->messages.empty());
    EXPECT_EQ(BeepsSinceSetUp(), 0u);
}

// The client that closing drops is gone for good, and the window with it once nobody holds it.
TEST_F(UpdateRequest, ClosingReleasesTheClient) {
    Ref<updateWindow> window = StartCheck(server.url());
    WeakRef<HTTPSocket> client = window->hp();
    ASSERT_TRUE(RunUntil([&] { return server.requestComplete(); }));
    WeakRef<updateWindow> weakWindow = window;
    window->Close();
    window.reset();
    EXPECT_TRUE(client.expired());
    EXPECT_TRUE(weakWindow.expired());
}

} // namespace
