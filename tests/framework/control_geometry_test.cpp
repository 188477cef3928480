// Where a control's widget stands for any design value: computed without overflow and kept within the
// window's content area, while the properties keep the values they were given.

#include "framework/controls/GroupBox.h"
#include "framework/controls/PushButton.h"
#include "framework/core/SetProperties.h"
#include "framework/qt/ControlNative.h"
#include "framework/qt/WindowNative.h"
#include "framework/startup/Startup.h"
#include "framework/windows/Window.h"
#include "framework/windows/WindowPattern.h"

#include <QCoreApplication>
#include <QWidget>

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

using namespace Ovelund;
namespace d = Ovelund::design;

namespace {

constexpr std::int32_t kLowest = std::numeric_limits<std::int32_t>::min();
constexpr std::int32_t kHighest = std::numeric_limits<std::int32_t>::max();

class ControlGeometry : public ::testing::Test {
protected:
    void SetUp() override {
        RuntimeInit();
        window = std::make_shared<Window>();
        SetProperties(*window, OVELUND_DESIGN_BLOCK(d::Int32{"Width", 400}, d::Int32{"Height", 300},
                                                    d::Boolean{"Resizeable", false}));
        window->Constructor();
        auto group = std::static_pointer_cast<GroupBox>(NewControl(*window, GroupBox::Lookup(), "Group"));
        SetProperties(*group, OVELUND_DESIGN_BLOCK(d::Int32{"Left", 50}, d::Int32{"Top", 40},
                                                   d::Int32{"Width", 200}, d::Int32{"Height", 200}));
    }
    void TearDown() override {
        window->Close();
        window.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        RuntimeInit();
    }

    Ref<PushButton> Button(const char* parent, std::int32_t left, std::int32_t top, std::int32_t width,
                           std::int32_t height) {
        auto button =
            std::static_pointer_cast<PushButton>(NewControl(*window, PushButton::Lookup(), "Button"));
        button->SetInitialParent(parent);
        button->SetLeft(left);
        button->SetTop(top);
        button->SetWidth(width);
        button->SetHeight(height);
        return button;
    }

    Ref<Window> window;
};

} // namespace

TEST_F(ControlGeometry, ExtremeDesignValuesStayWithinTheContentArea) {
    struct Case {
        const char* what;
        const char* parent;
        std::int32_t left, top, width, height;
        QRect expected; // in the parent's coordinates
    };
    const Case cases[] = {
        {"lowest Left inside a group box", "Group", kLowest, 10, 20, 20, QRect(-400, -30, 20, 20)},
        {"highest Top plus a height", "", 10, kHighest, 20, 20, QRect(10, 300, 20, 20)},
        {"highest Left and Top inside a group box", "Group", kHighest, kHighest, 20, 20,
         QRect(400, 300, 20, 20)},
        {"negative sizes", "", 10, 10, -5, kLowest, QRect(10, 10, 0, 0)},
        {"a button far larger than its window", "", 0, 0, 30000, 30000, QRect(0, 0, 400, 300)},
        {"the largest sizes", "Group", 60, 50, kHighest, kHighest, QRect(10, 10, 400, 300)},
        {"an ordinary place", "Group", 60, 50, 80, 20, QRect(10, 10, 80, 20)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        auto button = Button(c.parent, c.left, c.top, c.width, c.height);
        QWidget* widget = button->Native().widget;
        ASSERT_TRUE(widget);
        EXPECT_EQ(widget->geometry(), c.expected);
        EXPECT_EQ(button->Left(), c.left) << "the property keeps its value";
        EXPECT_EQ(button->Width(), c.width);
        button->Close();
    }
}

// The bound is the window's content area as the design sizes it, so a control placed before the window's
// own design applies is placed again when it does.
TEST_F(ControlGeometry, AControlPlacedBeforeTheWindowsSizeIsPlacedAgainWhenItComes) {
    window->SetWidth(100);
    auto button = Button("", 10, 10, 300, 20);
    EXPECT_EQ(button->Native().widget->geometry(), QRect(10, 10, 100, 20));
    window->SetWidth(700);
    EXPECT_EQ(button->Native().widget->geometry(), QRect(10, 10, 300, 20));
}
