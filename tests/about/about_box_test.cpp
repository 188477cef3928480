// The about window: its texts and fonts, its version label, and the addresses its buttons hand over.

#include "about/AboutBox.h"
#include "app/App.h"
#include "framework/qt/ControlNative.h"
#include "framework/qt/WindowNative.h"
#include "framework/runtime/ApplicationIdentity.h"
#include "framework/startup/Startup.h"
#include "support/UrlRecorder.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>

#include <gtest/gtest.h>

using namespace Ovelund;

namespace {

class AboutBoxTest : public ::testing::Test {
protected:
    void SetUp() override {
        RuntimeInit();
        savedVersion = RunningVersion();
        SetRunningVersion({3, 0, 0, "3.0.0", "3.0.0 (build 7)"});
        RuntimeRegisterAppObject(std::make_shared<App>());
        window = AboutBox::instance();
        ASSERT_TRUE(window);
    }
    void TearDown() override {
        if (window)
            window->Close();
        SetRunningVersion(savedVersion);
        ReleaseFrameworkGlobals();
    }
    QWidget* Widget(const char* name) const {
        auto control = std::dynamic_pointer_cast<RectControl>(window->ControlByName(name));
        return control ? control->Native().widget.data() : nullptr;
    }
    template <class W> W* As(const char* name) const { return qobject_cast<W*>(Widget(name)); }

    ApplicationVersion savedVersion;
    Ref<AboutBox> window;
    testing_support::UrlRecorder urls;
};

} // namespace

TEST_F(AboutBoxTest, ShowsTheProductTheVersionAndTheCredits) {
    QWidget* frame = window->Native().frame;
    EXPECT_EQ(frame->windowTitle(), QStringLiteral("About..."));
    EXPECT_EQ(window->Native().content.data()->size(), QSize(264, 335));
    EXPECT_FALSE(frame->windowFlags() & Qt::WindowMinimizeButtonHint);

    QLabel* name = As<QLabel>("StaticText1");
    EXPECT_EQ(name->text(), QStringLiteral("Tarnwick"));
    EXPECT_TRUE(name->font().bold());
    EXPECT_EQ(name->font().pixelSize(), 18);
    EXPECT_EQ(As<QLabel>("StaticText3")->text(), QStringLiteral("Version:"));
    EXPECT_EQ(As<QLabel>("StaticText3")->font().pixelSize(), 12);
    QLabel* version = As<QLabel>("StaticText4");
    EXPECT_EQ(version->text(), QStringLiteral("3.0.0 (build 7)"))
        << "the placeholder gives way to the long version";
    EXPECT_EQ(version->font().pixelSize(), 12);
    EXPECT_TRUE(version->font().bold());
    EXPECT_EQ(As<QLabel>("StaticText2")->text().split(QLatin1Char('\n')),
              (QStringList{QStringLiteral("Developed by"), QStringLiteral("Aldomir"), QString(),
                           QStringLiteral("Sr. Beta Tester"), QStringLiteral("Corvath")}));
    EXPECT_FALSE(As<QLabel>("Label1")->text().isEmpty());
    EXPECT_EQ(As<QPushButton>("PushButton1")->text(), QStringLiteral("Email Author"));
    EXPECT_EQ(As<QPushButton>("PushButton2")->text(), QStringLiteral("Visit Web Site"));
    EXPECT_EQ(As<QPushButton>("Kagi")->text(), QStringLiteral("Support Dravik"));
    EXPECT_TRUE(As<QPushButton>("Kagi")->isDefault());
    EXPECT_FALSE(As<QPushButton>("PushButton1")->isDefault());
}

TEST_F(AboutBoxTest, EachButtonHandsItsAddressOverAndTheWindowStaysOpen) {
    As<QPushButton>("PushButton1")->click();
    As<QPushButton>("PushButton2")->click();
    As<QPushButton>("Kagi")->click();
    As<QPushButton>("Kagi")->click();
    EXPECT_EQ(urls.opened,
              (QStringList{QStringLiteral("mailto:aldomir@example.com"), QStringLiteral("http://example.com"),
                           QStringLiteral("http://order.example.net/?TARNWICK&lang=en"),
                           QStringLiteral("http://order.example.net/?TARNWICK&lang=en")}));
    EXPECT_TRUE(window->IsOpen());
    EXPECT_EQ(AboutBox::instance(), window);
}

TEST_F(AboutBoxTest, ReturnPressesSupportDravik) {
    QWidget* frame = window->Native().frame;
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_Return, Qt::NoModifier);
    QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : frame;
    QApplication::sendEvent(target, &press);
    QApplication::sendEvent(target, &release);
    EXPECT_EQ(urls.opened, QStringList{QStringLiteral("http://order.example.net/?TARNWICK&lang=en")});
    EXPECT_TRUE(window->IsOpen());
}

TEST_F(AboutBoxTest, AnEmptyLongVersionLeavesTheLabelEmptyInAFreshWindow) {
    window->Close();
    SetRunningVersion({3, 0, 0, "3.0.0", ""});
    window = AboutBox::instance();
    EXPECT_EQ(As<QLabel>("StaticText4")->text(), QString());
}
