// Progress bars over real widgets: Value read by its class's encoding, values shown clamped, a maximum of
// 0 or below shown as a busy bar.

#include "ControlFixture.h"

#include "framework/controls/ProgressBar.h"
#include "framework/controls/RadioButton.h"
#include "framework/core/Exceptions.h"
#include "framework/core/SetProperties.h"

#include <QProgressBar>
#include <QRadioButton>

#include <gtest/gtest.h>

#include <cstdint>
#include <tuple>
#include <vector>

using namespace Ovelund;
using namespace testing_support;
namespace d = Ovelund::design;

namespace {

TEST_F(ControlsTest, ValueIsOneByteForARadioButtonAndFourForAProgressBar) {
    auto radio =
        Make<RadioButton>("Radio", OVELUND_DESIGN_BLOCK(d::Boolean{"Value", true}, d::Int32{"Top", 7}));
    auto bar = Make<ProgressBar>(
        "Bar", OVELUND_DESIGN_BLOCK(d::Int32{"Maximum", 200}, d::Int32{"Value", 42}, d::Int32{"Top", 9}));
    EXPECT_TRUE(WidgetOf<QRadioButton>(*radio)->isChecked());
    EXPECT_EQ(radio->Top(), 7);
    auto* widget = WidgetOf<QProgressBar>(*bar);
    ASSERT_NE(widget, nullptr);
    EXPECT_EQ(widget->maximum(), 200);
    EXPECT_EQ(widget->value(), 42);
    EXPECT_EQ(bar->Top(), 9);
    // Each class reads its own encoding; the other one's is a malformed block.
    EXPECT_THROW(SetProperties(*bar, OVELUND_DESIGN_BLOCK(d::Boolean{"Value", true})), RuntimeException);
    EXPECT_THROW(SetProperties(*radio, OVELUND_DESIGN_BLOCK(d::Int32{"Value", 2})), RuntimeException);
    EXPECT_EQ(widget->value(), 42);
}

TEST_F(ControlsTest, ProgressBarShowsValuesClampedAndZeroMaximumAsBusy) {
    auto bar = Make<ProgressBar>("Bar", OVELUND_DESIGN_BLOCK(d::Int32{"Maximum", 100}, d::Int32{"Value", 0}));
    auto* widget = WidgetOf<QProgressBar>(*bar);
    ASSERT_NE(widget, nullptr);
    const std::vector<std::tuple<std::int32_t, std::int32_t, int, int>> cases = {
        // Maximum, Value, shown maximum, shown value
        {100, 50, 100, 50},     {100, 150, 100, 100}, {100, -5, 100, 0}, {kIntMax, kIntMax, kIntMax, kIntMax},
        {100, kIntMin, 100, 0}, {0, 5, 0, 0},         {-7, 3, 0, 0},     {kIntMin, kIntMin, 0, 0},
    };
    for (auto [maximum, value, shownMaximum, shownValue] : cases) {
        SCOPED_TRACE(testing::Message() << maximum << " " << value);
        SetProperties(*bar, Int32Entry("Maximum", maximum) + Int32Entry("Value", value));
        EXPECT_EQ(widget->minimum(), 0);
        EXPECT_EQ(widget->maximum(), shownMaximum);
        EXPECT_EQ(widget->value(), shownValue);
        EXPECT_EQ(bar->Value(), value);
        EXPECT_EQ(bar->Maximum(), maximum);
    }
}

} // namespace
