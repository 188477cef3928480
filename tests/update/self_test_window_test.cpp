// The self-test window: its design and version label, its single instance, and "Check for Updates", which
// shows the update window modally and closes the self-test window once the update window has closed.

#include "UpdateFixture.h"

#include <QAbstractButton>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

#include <functional>
#include <ostream>

using namespace Ovelund;
using update_testing::Bytes;
using update_testing::Document;
using update_testing::UpdateFixture;
using update_testing::UpdateServer;
using Answer = DialogPresenter::Answer;

namespace {

class SelfTestWindow : public UpdateFixture {
protected:
    // The menu item "Check Now".
    static Ref<selfTest> CheckNow() {
        Ref<App> app = App::instance();
        EXPECT_FALSE(app->CheckforUpdateCheckNow_Action());
        return OpenSelfTest();
    }

    // Presses "Check for Updates" (by Return, or by a click) with the update window's request pointed at
    // `url`, and returns once the modal display has ended. While it lasts, `whileModal` is called on the
    // event loop with the update window until it returns true.
    void CheckForUpdates(const Ref<selfTest>& window, const std::string& url,
                         const std::function<bool(updateWindow&)>& whileModal = {}, bool byReturn = false) {
        // The accessor finds this window, whose request now goes to `url`.
        Ref<updateWindow> update = updateWindow::instance();
        update->hp()->Get(url);

        bool done = !whileModal;
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, [&] {
            if (!done && update->IsOpen())
                done = whileModal(*update);
        });
        poll.start(5);
        // A broken check must not leave the test waiting forever.
        QTimer guard;
        guard.setSingleShot(true);
        QObject::connect(&guard, &QTimer::timeout, [&] {
            ADD_FAILURE() << "the update window did not close";
            update->Close();
        });
        guard.start(10000);

        if (byReturn)
            SendKey(window->Native().frame, Qt::Key_Return);
        else
            Widget<QAbstractButton>(*window, "PushButton1")->click();
        EXPECT_FALSE(update->IsOpen());
    }

    UpdateServer server;
};

TEST_F(SelfTestWindow, ShowsItsDesignAndTheLongVersion) {
    SetRunningVersion({3, 0, 0, "3.0.0", "3.0.0 (build 7)"});
    Ref<selfTest> window = CheckNow();
    ASSERT_TRUE(window);
    QWidget* frame = window->Native().frame;
    EXPECT_TRUE(frame->isVisible());
    EXPECT_EQ(frame->windowTitle(), QStringLiteral("Self Test"));
    EXPECT_EQ(window->Native().content.data()->size(), QSize(214, 102));
    EXPECT_FALSE(frame->windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(frame->windowFlags() & Qt::WindowMaximizeButtonHint);

    auto* caption = Widget<QLabel>(*window, "StaticText1");
    ASSERT_NE(caption, nullptr);
    EXPECT_EQ(caption->text(), QStringLiteral("Version:"));
    EXPECT_TRUE(caption->font().bold());
    auto* version = Widget<QLabel>(*window, "StaticText2");
    ASSERT_NE(version, nullptr);
    EXPECT_EQ(version->text(), QStringLiteral("3.0.0 (build 7)")) << "the placeholder gives way";
    EXPECT_TRUE(version->alignment() & Qt::AlignRight);
    EXPECT_FALSE(version->font().bold());
    EXPECT_EQ(version->geometry(), QRect(100, 21, 75, 20));

    auto* button = Widget<QPushButton>(*window, "PushButton1");
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->text(), QStringLiteral("Check for Updates"));
    EXPECT_TRUE(button->isDefault());
    EXPECT_TRUE(button->font().bold());
    EXPECT_EQ(button->geometry(), QRect(28, 61, 157, 21));

    EXPECT_EQ(selfTest::Lookup().FullName(), "selfTest.selfTest");
    EXPECT_FALSE(selfTest::Lookup().FindEvent(Window::EventOpen)->handler);
}

TEST_F(SelfTestWindow, AnEmptyLongVersionLeavesTheLabelEmpty) {
    SetRunningVersion({3, 0, 0, "3.0.0", ""});
    Ref<selfTest> window = CheckNow();
    EXPECT_EQ(window->StaticText2()->Text(), "");
    EXPECT_EQ(Widget<QLabel>(*window, "StaticText2")->text(), QString());
}

TEST_F(SelfTestWindow, CheckNowTwiceKeepsOneWindowAndItsLabel) {
    Ref<selfTest> first = CheckNow();
    SetRunningVersion({3, 0, 1, "3.0.1", "3.0.1"});
    Ref<selfTest> second = CheckNow();
    EXPECT_EQ(second, first);
    EXPECT_EQ(first->StaticText2()->Text(), "3.0.0");
}

TEST_F(SelfTestWindow, AfterTheCloseBoxCheckNowGivesAFreshWindow) {
    Ref<selfTest> first = CheckNow();
    first->Native().frame->close();
    EXPECT_FALSE(first->IsOpen());
    EXPECT_EQ(OpenSelfTest(), nullptr);

    SetRunningVersion({3, 0, 1, "3.0.1", "3.0.1 fresh"});
    Ref<selfTest> second = CheckNow();
    ASSERT_TRUE(second);
    EXPECT_NE(second, first);
    EXPECT_EQ(second->StaticText2()->Text(), "3.0.1 fresh");
}

TEST_F(SelfTestWindow, ReturnRunsTheCheckInAModalUpdateWindow) {
    Ref<selfTest> window = CheckNow();
    bool modal = false;
    // The server holds the request until the update window has been seen modal.
    CheckForUpdates(
        window, server.url(),
        [&](updateWindow& update) {
            if (!server.requestComplete())
                return false;
            modal = update.Native().frame->windowModality() == Qt::ApplicationModal;
            server.SendOnHeldConnection(UpdateServer::HttpReply(200, Bytes(Document("3.0.0", "", "Yes"))));
            return true;
        },
        true);
    EXPECT_TRUE(modal);
    EXPECT_EQ(dialogs->messages,
              std::vector<String>{"You are using the current version. No update is available."});
    EXPECT_FALSE(window->IsOpen());
    EXPECT_EQ(OpenSelfTest(), nullptr);
}

enum class Ending { Current, ConnectionError, UpdateCancel, UpdateCloseBox, QuestionCancel, QuestionAction };

struct EndingCase {
    const char* what;
    Ending ending;
};

void PrintTo(const EndingCase& c, std::ostream* out) {
    *out << c.what;
}

class SelfTestAfterTheCheck : public SelfTestWindow, public ::testing::WithParamInterface<EndingCase> {};

TEST_P(SelfTestAfterTheCheck, ClosesOnceTheUpdateWindowHasClosed) {
    const Ending ending = GetParam().ending;
    std::string url = server.url();
    std::function<bool(updateWindow&)> whileModal;
    switch (ending) {
    case Ending::Current:
        server.ReplyWith(UpdateServer::HttpReply(200, Bytes(Document("3.0.0", "", "Yes"))));
        break;
    case Ending::ConnectionError:
        url = RefusingUrl();
        break;
    case Ending::UpdateCancel:
    case Ending::UpdateCloseBox:
        // The server holds the request; the user ends the wait.
        whileModal = [&](updateWindow& update) {
            if (!server.requestComplete())
                return false;
            if (ending == Ending::UpdateCancel)
                Widget<QAbstractButton>(update, "PushButton1")->click();
            else
                update.Native().frame->close();
            return true;
        };
        break;
    case Ending::QuestionCancel:
    case Ending::QuestionAction:
        server.ReplyWith(UpdateServer::HttpReply(200, Bytes(Document("3.1.0", "", "No"))));
        dialogs->answers.push_back(ending == Ending::QuestionCancel ? Answer::Cancel : Answer::Action);
        break;
    }
    Ref<selfTest> window = CheckNow();
    CheckForUpdates(window, url, whileModal);
    EXPECT_FALSE(window->IsOpen());
    EXPECT_EQ(OpenSelfTest(), nullptr);
    EXPECT_EQ(OpenUpdateWindow(), nullptr);
}

INSTANTIATE_TEST_SUITE_P(Endings, SelfTestAfterTheCheck,
                         ::testing::Values(EndingCase{"current", Ending::Current},
                                           EndingCase{"connection error", Ending::ConnectionError},
                                           EndingCase{"Cancel", Ending::UpdateCancel},
                                           EndingCase{"close box", Ending::UpdateCloseBox},
                                           EndingCase{"question cancelled", Ending::QuestionCancel},
                                           EndingCase{"question answered", Ending::QuestionAction}));

// "Go to Website" keeps the update window open, so the self-test window waits behind it.
TEST_F(SelfTestWindow, AfterGoToWebsiteItWaitsForTheUpdateWindow) {
    server.ReplyWith(UpdateServer::HttpReply(200, Bytes(Document("3.1.0", "", "Yes"))));
    dialogs->answers.push_back(Answer::Alternate);
    Ref<selfTest> window = CheckNow();
    bool selfTestWaited = false;
    CheckForUpdates(window, server.url(), [&](updateWindow& update) {
        if (dialogs->questions.empty())
            return false;
        selfTestWaited = window->IsOpen() && OpenSelfTest() == window;
        Widget<QAbstractButton>(update, "PushButton1")->click();
        return true;
    });
    EXPECT_TRUE(selfTestWaited);
    EXPECT_EQ(urls.opened, QStringList{QStringLiteral("http://www.example.com")});
    EXPECT_FALSE(window->IsOpen());
    EXPECT_EQ(OpenSelfTest(), nullptr);
}

} // namespace
