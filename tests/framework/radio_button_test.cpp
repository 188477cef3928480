// Radio buttons over real widgets: the buttons of one container exclude each other, and only the user's
// clicks raise Action.

#include "ControlFixture.h"

#include "framework/controls/GroupBox.h"
#include "framework/controls/RadioButton.h"
#include "framework/core/DesignBlock.h"

#include <QRadioButton>

#include <gtest/gtest.h>

#include <vector>

using namespace Ovelund;
using namespace testing_support;
namespace d = Ovelund::design;

namespace {

TEST_F(ControlsTest, RadioButtonsOfOneContainerExcludeEachOther) {
    Make<GroupBox>("GroupBox1", OVELUND_DESIGN_BLOCK(d::Int32{"Left", 200}, d::Int32{"Top", 10},
                                                     d::Int32{"Width", 150}, d::Int32{"Height", 200}));
    auto modeA = Make<RadioButton>(
        "RadioButton1",
        OVELUND_DESIGN_BLOCK(d::Int32{"Left", 206}, d::Int32{"Top", 40}, d::String{"Caption", "Option A"},
                             d::Boolean{"Value", true}, d::String{"InitialParent", "GroupBox1"}));
    auto modeB = Make<RadioButton>(
        "RadioButton2",
        OVELUND_DESIGN_BLOCK(d::Int32{"Left", 206}, d::Int32{"Top", 100}, d::String{"Caption", "Option B"},
                             d::Boolean{"Value", false}, d::String{"InitialParent", "GroupBox1"}));
    auto outside =
        Make<RadioButton>("Outside", OVELUND_DESIGN_BLOCK(d::Int32{"Top", 250}, d::Boolean{"Value", true}));
    Bind(modeA, RadioButton::EventAction, &Recorder::OnRadio, "( RadioButton )", recorder);
    Bind(modeB, RadioButton::EventAction, &Recorder::OnRadio, "( RadioButton )", recorder);
    auto* a = WidgetOf<QRadioButton>(*modeA);
    auto* b = WidgetOf<QRadioButton>(*modeB);
    ASSERT_NE(a, nullptr);
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(a->text(), Q("Option A"));
    EXPECT_TRUE(modeA->Value());
    EXPECT_FALSE(modeB->Value());
    EXPECT_TRUE(outside->Value()) << "another container";

    // The user picks Option B, then Option A again, then clicks Option A once more.
    b->click();
    EXPECT_FALSE(modeA->Value());
    EXPECT_TRUE(modeB->Value());
    EXPECT_TRUE(outside->Value());
    a->click();
    a->click();
    EXPECT_TRUE(modeA->Value());
    EXPECT_FALSE(modeB->Value());
    EXPECT_EQ(recorder->radios, (std::vector<Ref<RadioButton>>{modeB, modeA, modeA}));

    // The program's changes exclude too, and raise nothing.
    recorder->radios.clear();
    modeB->SetValue(true);
    EXPECT_FALSE(modeA->Value());
    EXPECT_FALSE(a->isChecked());
    modeB->SetValue(false);
    EXPECT_FALSE(modeB->Value());
    EXPECT_FALSE(b->isChecked());
    EXPECT_TRUE(recorder->radios.empty());
}

} // namespace
