// The update window: its class, its design, its Open step, its "Cancel" button and its single instance.

#include "UpdateFixture.h"

#include <QAbstractButton>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

using namespace Ovelund;
using update_testing::UpdateFixture;

namespace {

class UpdateWindowTest : public UpdateFixture {};

TEST_F(UpdateWindowTest, UpdateWindowShowsItsDesign) {
    Ref<updateWindow> window = updateWindow::instance();
    ASSERT_TRUE(window);
    EXPECT_TRUE(window->IsOpen());
    QWidget* frame = window->Native().frame;
    EXPECT_TRUE(frame->isVisible());
    EXPECT_EQ(frame->windowModality(), Qt::ApplicationModal) << "modal from its first show";
    EXPECT_EQ(frame->windowTitle(), QStringLiteral("Update"));
    EXPECT_EQ(window->Native().content.data()->size(), QSize(300, 120));
    EXPECT_TRUE(frame->windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_TRUE(frame->windowFlags() & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(frame->windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_EQ(window->Frame(), 1);
    EXPECT_FALSE(window->Resizeable());

    auto* label = Widget<QLabel>(*window, "StaticText1");
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->text(), QStringLiteral("Checking for updates..."));
    EXPECT_EQ(label->geometry(), QRect(20, 19, 266, 20));

    // Open replaces the design's maximum 100 by 0: a busy bar.
    Ref<ProgressBar> bar = window->ProgressBar1();
    EXPECT_EQ(bar->Maximum(), 0);
    EXPECT_EQ(bar->Value(), 0);
    EXPECT_TRUE(bar->Visible());
    auto* barWidget = Widget<QProgressBar>(*window, "ProgressBar1");
    ASSERT_NE(barWidget, nullptr);
    EXPECT_EQ(barWidget->maximum(), 0);
    EXPECT_EQ(barWidget->geometry(), QRect(20, 46, 260, 12));

    Ref<PushButton> cancel = window->PushButton1();
    EXPECT_EQ(cancel->Caption(), "Cancel");
    EXPECT_TRUE(cancel->Default());
    EXPECT_TRUE(cancel->Cancel());
    auto* button = Widget<QPushButton>(*window, "PushButton1");
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->text(), QStringLiteral("Cancel"));
    EXPECT_TRUE(button->isDefault());
    EXPECT_EQ(button->geometry(), QRect(208, 80, 72, 20));

    // The client: no proxy, no fixed address, port 0 so that the URL decides.
    Ref<HTTPSocket> client = window->hp();
    ASSERT_TRUE(client);
    EXPECT_EQ(client->Record().FullName(), "updateWindow.hp");
    EXPECT_EQ(client->Port(), 0);
    EXPECT_EQ(client->Address(), "");
    EXPECT_EQ(client->HTTPProxyAddress(), "");
    EXPECT_EQ(client->HTTPProxyPort(), 0);
    EXPECT_FALSE(client->Yield());

    EXPECT_FALSE(window->automaticCheck());
    EXPECT_EQ(updateWindow::instance(), window) << "one update window at a time";
}

TEST_F(UpdateWindowTest, UpdateWindowClassRecords) {
    const ClassRecord& record = updateWindow::Lookup();
    EXPECT_EQ(record.FullName(), "updateWindow.updateWindow");
    EXPECT_EQ(record.Base(), &Window::Lookup());
    for (int event : {Window::EventCreateControls, Window::EventLayout, Window::EventOpen})
        EXPECT_TRUE(record.FindEvent(event)->handler) << event;
    EXPECT_FALSE(record.FindEvent(Window::EventClose)->handler);
    const PropertyRecord* automatic = record.FindProperty("automaticCheck");
    ASSERT_NE(automatic, nullptr);
    EXPECT_EQ(automatic->type, PropertyType::Boolean);

    const ClassRecord& client = updateWindowHp::Lookup();
    EXPECT_EQ(client.FullName(), "updateWindow.hp");
    EXPECT_EQ(client.Base(), &HTTPSocket::Lookup());
    EXPECT_TRUE(client.InheritsFrom(HTTPSocket::Lookup()));
}

// Return and Escape both press "Cancel", and "Cancel" closes the window at once, request or no request.
TEST_F(UpdateWindowTest, ReturnEscapeAndCancelCloseTheWindowAtOnce) {
    for (int key : {int{Qt::Key_Return}, int{Qt::Key_Escape}, 0}) {
        Ref<updateWindow> window = updateWindow::instance();
        QWidget* frame = window->Native().frame;
        if (key)
            SendKey(frame, key);
        else
            Widget<QAbstractButton>(*window, "PushButton1")->click();
        EXPECT_FALSE(window->IsOpen()) << key;
        EXPECT_FALSE(frame->isVisible()) << key;
        EXPECT_EQ(OpenUpdateWindow(), nullptr) << key;
        EXPECT_EQ(window->hp(), nullptr) << "closing drops the client";
    }
    EXPECT_TRUE(dialogs->messages.empty());
    EXPECT_EQ(BeepsSinceSetUp(), 0u);
}

TEST_F(UpdateWindowTest, TheCloseBoxClosesTheWindow) {
    Ref<updateWindow> window = updateWindow::instance();
    window->Native().frame->close();
    EXPECT_FALSE(window->IsOpen());
    EXPECT_EQ(OpenUpdateWindow(), nullptr);
}

TEST_F(UpdateWindowTest, AClosedUpdateWindowGivesWayToAFreshOne) {
    Ref<updateWindow> first = updateWindow::instance();
    first->SetAutomaticCheck(true);
    first->Close();
    Ref<updateWindow> second = updateWindow::instance();
    EXPECT_NE(second, first);
    EXPECT_TRUE(second->IsOpen());
    EXPECT_FALSE(second->automaticCheck());
    EXPECT_EQ(second->ProgressBar1()->Maximum(), 0);
}

} // namespace
