// Group boxes over real widgets: the caption, and the children held at their window positions, disabled
// and hidden with the group.

#include "ControlFixture.h"

#include "framework/controls/GroupBox.h"
#include "framework/controls/Label.h"
#include "framework/controls/RadioButton.h"
#include "framework/core/DesignBlock.h"

#include <QGroupBox>
#include <QLabel>
#include <QPoint>
#include <QRadioButton>

#include <gtest/gtest.h>

using namespace Ovelund;
using namespace testing_support;
namespace d = Ovelund::design;

namespace {

TEST_F(ControlsTest, GroupBoxHoldsItsChildrenAtTheirWindowPositions) {
    auto group = Make<GroupBox>(
        "GroupBox1",
        OVELUND_DESIGN_BLOCK(d::Int32{"Left", 217}, d::Int32{"Top", 15}, d::Int32{"Width", 159},
                             d::Int32{"Height", 269}, d::String{"Caption", "Choose desired mode"},
                             d::Boolean{"Bold", true}, d::String{"InitialParent", ""}));
    auto radio = Make<RadioButton>("RadioButton1",
                                   OVELUND_DESIGN_BLOCK(d::Int32{"Left", 223}, d::Int32{"Top", 42},
                                                        d::Int32{"Width", 80}, d::Int32{"Height", 20},
                                                        d::String{"Caption", "Option A"},
                                                        d::Boolean{"Bold", true}, d::Boolean{"Value", true},
                                                        d::String{"InitialParent", "GroupBox1"}));
    auto label =
        Make<Label>("StaticText5",
                    OVELUND_DESIGN_BLOCK(d::Int32{"Left", 227}, d::Int32{"Top", 67}, d::Int32{"Width", 134},
                                         d::Int32{"Height", 99}, d::String{"Text", "Choose this mode"},
                                         d::Boolean{"Multiline", true}, d::Boolean{"Transparent", false},
                                         d::String{"InitialParent", "GroupBox1"}));
    auto* box = WidgetOf<QGroupBox>(*group);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->title(), Q("Choose desired mode"));
    EXPECT_TRUE(box->font().bold());
    EXPECT_EQ(box->geometry(), QRect(217, 15, 159, 269));
    QWidget* radioWidget = WidgetOf<QRadioButton>(*radio);
    QWidget* labelWidget = WidgetOf<QLabel>(*label);
    ASSERT_NE(radioWidget, nullptr);
    ASSERT_NE(labelWidget, nullptr);
    EXPECT_EQ(radioWidget->parentWidget(), box);
    EXPECT_EQ(labelWidget->parentWidget(), box);
    EXPECT_EQ(radioWidget->geometry(), QRect(6, 27, 80, 20));
    EXPECT_EQ(radioWidget->mapTo(Content(), QPoint(0, 0)), QPoint(223, 42));
    EXPECT_EQ(labelWidget->mapTo(Content(), QPoint(0, 0)), QPoint(227, 67));
    EXPECT_TRUE(radioWidget->isVisible());

    // Disabling the group disables its children; enabling it gives them back their own state.
    label->SetEnabled(false);
    group->SetEnabled(false);
    EXPECT_FALSE(radioWidget->isEnabled());
    EXPECT_FALSE(labelWidget->isEnabled());
    group->SetEnabled(true);
    EXPECT_TRUE(radioWidget->isEnabled());
    EXPECT_FALSE(labelWidget->isEnabled());
    group->SetVisible(false);
    EXPECT_FALSE(radioWidget->isVisible());
}

} // namespace
