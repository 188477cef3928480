// Push buttons over real widgets: the design reaching the widget, clicks raising Action, and the window's
// Return and Escape keys pressing its default and cancel buttons.

#include "ControlFixture.h"

#include "framework/controls/PushButton.h"
#include "framework/controls/TextField.h"
#include "framework/core/DesignBlock.h"

#include <QLineEdit>
#include <QPushButton>

#include <gtest/gtest.h>

#include <vector>

using namespace Ovelund;
using namespace testing_support;
namespace d = Ovelund::design;

namespace {

TEST_F(ControlsTest, PushButtonDesignReachesItsWidgetAndClicksRaiseAction) {
    auto start = Make<PushButton>(
        "Start", OVELUND_DESIGN_BLOCK(d::Int32{"Left", 215}, d::Int32{"Top", 256}, d::Int32{"Width", 69},
                                      d::Int32{"Height", 20}, d::Boolean{"TabStop", true},
                                      d::String{"Caption", "Start"}, d::Boolean{"Default", true},
                                      d::Boolean{"Cancel", false}, d::Boolean{"Enabled", true},
                                      d::Int32{"ButtonStyle", 0}, d::String{"TextFont", "System"},
                                      d::Boolean{"Bold", false}, d::Boolean{"Italic", true}));
    auto* widget = WidgetOf<QPushButton>(*start);
    ASSERT_NE(widget, nullptr);
    EXPECT_EQ(widget->geometry(), QRect(215, 256, 69, 20));
    EXPECT_EQ(widget->text(), Q("Start"));
    EXPECT_TRUE(widget->isDefault()) << "the default button is drawn as such";
    EXPECT_TRUE(widget->font().italic());
    EXPECT_FALSE(widget->font().bold());

    Bind(start, PushButton::EventAction, &Recorder::OnButton, "( PushButton )", recorder);
    widget->click();
    ASSERT_EQ(recorder->buttons.size(), 1u);
    EXPECT_EQ(recorder->buttons[0], start);

    start->SetDefault(false);
    EXPECT_FALSE(widget->isDefault());
    // "&" is shown, not taken as an access-key mark.
    start->SetCaption("Save & Quit");
    EXPECT_EQ(widget->text(), Q("Save && Quit"));
    EXPECT_EQ(start->Caption(), "Save & Quit");
}

TEST_F(ControlsTest, ReturnPressesTheDefaultButtonAndEscapeTheCancelButton) {
    auto ok =
        Make<PushButton>("OK", OVELUND_DESIGN_BLOCK(d::String{"Caption", "OK"}, d::Boolean{"Default", true},
                                                    d::Boolean{"Cancel", false}));
    auto cancel = Make<PushButton>(
        "Cancel", OVELUND_DESIGN_BLOCK(d::Int32{"Left", 100}, d::String{"Caption", "Cancel"},
                                       d::Boolean{"Default", false}, d::Boolean{"Cancel", true}));
    auto field = Make<TextField>("Field", OVELUND_DESIGN_BLOCK(d::Int32{"Top", 50}, d::String{"Text", "2"}));
    Bind(ok, PushButton::EventAction, &Recorder::OnButton, "( PushButton )", recorder);
    Bind(cancel, PushButton::EventAction, &Recorder::OnButton, "( PushButton )", recorder);
    QWidget* edit = WidgetOf<QLineEdit>(*field);
    ASSERT_NE(edit, nullptr);

    SendKey(edit, Qt::Key_Return); // the field leaves Return to the window
    SendKey(Frame(), Qt::Key_Enter, Qt::KeypadModifier);
    SendKey(edit, Qt::Key_Escape);
    SendKey(Frame(), Qt::Key_Return, Qt::ControlModifier);      // not the plain key
    SendKey(Frame(), Qt::Key_Return, Qt::NoModifier, {}, true); // a held key presses once only
    EXPECT_EQ(recorder->buttons, (std::vector<Ref<PushButton>>{ok, ok, cancel}));
    EXPECT_EQ(field->Text(), "2");

    // A disabled or hidden button is not pressed.
    recorder->buttons.clear();
    ok->SetEnabled(false);
    cancel->SetVisible(false);
    SendKey(edit, Qt::Key_Return);
    SendKey(edit, Qt::Key_Escape);
    EXPECT_TRUE(recorder->buttons.empty());
}

TEST_F(ControlsTest, ReturnPressesTheLatestEnabledDefaultButton) {
    auto start = Make<PushButton>("Start", OVELUND_DESIGN_BLOCK(d::Boolean{"Default", true}));
    auto stop =
        Make<PushButton>("Stop", OVELUND_DESIGN_BLOCK(d::Int32{"Left", 100}, d::Boolean{"Default", false},
                                                      d::Boolean{"Enabled", false}));
    Bind(start, PushButton::EventAction, &Recorder::OnButton, "( PushButton )", recorder);
    Bind(stop, PushButton::EventAction, &Recorder::OnButton, "( PushButton )", recorder);
    auto pressed = [this] {
        recorder->buttons.clear();
        SendKey(Frame(), Qt::Key_Return);
        return recorder->buttons.empty() ? nullptr : recorder->buttons.front();
    };
    EXPECT_EQ(pressed(), start);

    // Work starts: Start disabled, Stop enabled and made default without clearing Start's Default.
    start->SetEnabled(false);
    stop->SetEnabled(true);
    stop->SetDefault(true);
    EXPECT_EQ(pressed(), stop);
    // Stop disables itself, keeping its Default: no button takes Return.
    stop->SetEnabled(false);
    EXPECT_EQ(pressed(), nullptr);
    // The work is done.
    start->SetEnabled(true);
    EXPECT_EQ(pressed(), start) << "the latest default is disabled, so the earlier one takes Return";
    stop->SetDefault(false);
    start->SetDefault(true);
    stop->SetEnabled(true);
    EXPECT_EQ(pressed(), start);
    EXPECT_FALSE(WidgetOf<QPushButton>(*stop)->isDefault());
    // A closed button takes no key.
    start->Close();
    EXPECT_EQ(pressed(), nullptr);
}

} // namespace
