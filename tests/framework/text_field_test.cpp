// Text fields over real widgets: the design reaching the widget, TextChange and SelChange, tabs, hostile
// text and positions counted in characters.

#include "ControlFixture.h"

#include "framework/controls/TextField.h"
#include "framework/core/SetProperties.h"

#include <QColor>
#include <QLineEdit>
#include <QPalette>

#include <gtest/gtest.h>

#include <cstdint>
#include <tuple>
#include <vector>

using namespace Ovelund;
using namespace testing_support;
namespace d = Ovelund::design;

namespace {

TEST_F(ControlsTest, TextFieldDesignReachesItsWidget) {
    auto field = Make<TextField>(
        "EditField1",
        OVELUND_DESIGN_BLOCK(
            d::Int32{"Left", 281}, d::Int32{"Top", 74}, d::Int32{"Width", 98}, d::Int32{"Height", 21},
            d::Boolean{"Border", true}, d::Boolean{"Password", false}, d::Boolean{"UseFocusRing", true},
            d::Color{"TextColor", 0, 0, 0x80}, d::Color{"BackColor", 0xFF, 0xFF, 0xE0},
            d::Boolean{"Enabled", true}, d::String{"Format", ""}, d::String{"TextFont", "System"},
            d::Boolean{"Bold", true}, d::String{"CueText", "count"}, d::String{"Text", "500"},
            d::String{"Mask", ""}, d::Boolean{"ReadOnly", false}, d::Int32{"LimitText", 0},
            d::Boolean{"AcceptTabs", false}, d::Int32{"Alignment", 2},
            d::Boolean{"AutomaticallyCheckSpelling", true}));
    auto* edit = WidgetOf<QLineEdit>(*field);
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(edit->geometry(), QRect(281, 74, 98, 21));
    EXPECT_EQ(edit->text(), Q("500"));
    EXPECT_EQ(field->Text(), "500");
    EXPECT_EQ(edit->placeholderText(), Q("count"));
    EXPECT_EQ(edit->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
    EXPECT_TRUE(edit->hasFrame());
    EXPECT_EQ(edit->echoMode(), QLineEdit::Normal);
    EXPECT_FALSE(edit->isReadOnly());
    EXPECT_TRUE(edit->font().bold());
    EXPECT_EQ(edit->palette().color(QPalette::Active, QPalette::Text), QColor(0, 0, 0x80));
    EXPECT_EQ(edit->palette().color(QPalette::Active, QPalette::Base), QColor(0xFF, 0xFF, 0xE0));
    EXPECT_TRUE(field->AutomaticallyCheckSpelling());
    // Nothing limits what may be typed.
    EXPECT_GE(edit->maxLength(), 1'000'000);

    SetProperties(*field, OVELUND_DESIGN_BLOCK(d::Boolean{"Password", true}, d::Boolean{"ReadOnly", true},
                                               d::Boolean{"Border", false}, d::Int32{"Alignment", 3},
                                               d::Int32{"LimitText", 2}));
    EXPECT_EQ(edit->echoMode(), QLineEdit::Password);
    EXPECT_TRUE(edit->isReadOnly());
    EXPECT_FALSE(edit->hasFrame());
    EXPECT_EQ(edit->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignRight);
    EXPECT_EQ(edit->maxLength(), 2);
    EXPECT_EQ(field->Text(), "50") << "a new limit shortens the text";
    SetProperties(*field, Int32Entry("LimitText", kIntMin) + Int32Entry("Alignment", kIntMax));
    EXPECT_GE(edit->maxLength(), 1'000'000);
    EXPECT_EQ(edit->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignLeft);
}

TEST_F(ControlsTest, TextChangeIsRaisedForEveryChangeOfTheText) {
    auto field = Make<TextField>("EditField2", OVELUND_DESIGN_BLOCK(d::String{"Text", "2"}));
    Bind(field, TextField::EventTextChange, &Recorder::OnTextChange, "( TextField )", recorder);
    auto* edit = WidgetOf<QLineEdit>(*field);
    ASSERT_NE(edit, nullptr);
    EXPECT_TRUE(recorder->texts.empty()) << "the design's text is in place before the binding";

    edit->setCursorPosition(1);
    Type(edit, Q("50"));
    SendKey(edit, Qt::Key_Backspace);
    EXPECT_EQ(recorder->texts, (std::vector<String>{"25", "250", "25"}));
    EXPECT_EQ(field->Text(), "25");

    recorder->texts.clear();
    field->SetText("9,999");
    field->SetText("9,999"); // no change, no event
    field->SetText("");
    EXPECT_EQ(recorder->texts, (std::vector<String>{"9,999", ""}));

    // What a handler throws for a change the program made reaches the program.
    Bind(field, TextField::EventTextChange, &Recorder::Throw, "( TextField )", recorder);
    EXPECT_THROW(field->SetText("x"), RuntimeException);
    EXPECT_EQ(field->Text(), "x");
}

TEST_F(ControlsTest, TextFieldTabsAndHostileText) {
    auto field = Make<TextField>("Field", OVELUND_DESIGN_BLOCK(d::Boolean{"AcceptTabs", true}));
    auto* edit = WidgetOf<QLineEdit>(*field);
    ASSERT_NE(edit, nullptr);
    SendKey(edit, Qt::Key_Tab, Qt::NoModifier, Q("\t"));
    EXPECT_EQ(field->Text(), "\t");
    SendKey(edit, Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(field->Text(), "\t") << "Shift+Tab moves the focus back, it types nothing";
    field->SetAcceptTabs(false);
    field->SetText("");
    SendKey(edit, Qt::Key_Tab, Qt::NoModifier, Q("\t"));
    EXPECT_EQ(field->Text(), "");

    field->SetText("a\xff\xc3(b");
    EXPECT_EQ(edit->text().count(QChar(0xFFFD)), 2);
    EXPECT_EQ(field->Text(), "a\xEF\xBF\xBD\xEF\xBF\xBD(b") << "read back as shown";
    field->SetText(String(1'000'000, 'x'));
    EXPECT_EQ(field->Text().size(), 1'000'000u);
}

TEST_F(ControlsTest, SelStartCountsCharactersAndClampsAnyValue) {
    auto field = Make<TextField>("Field", OVELUND_DESIGN_BLOCK(d::String{"Text", "a\xF0\x9F\x98\x80"
                                                                                 "bc"}));
    Bind(field, TextField::EventSelChange, &Recorder::OnSelChange, "( TextField )", recorder);
    auto* edit = WidgetOf<QLineEdit>(*field);
    ASSERT_NE(edit, nullptr);
    // Characters a, U+1F600 (two UTF-16 code units), b, c.
    const std::vector<std::tuple<std::int32_t, std::int32_t, int>> cases = {
        {1, 1, 1}, {2, 2, 3}, {4, 4, 5}, {0, 0, 0}, {5, 4, 5}, {-1, 0, 0}, {kIntMax, 4, 5}, {kIntMin, 0, 0},
    };
    for (auto [value, selStart, cursor] : cases) {
        SCOPED_TRACE(value);
        field->SetSelStart(value);
        EXPECT_EQ(field->SelStart(), selStart);
        EXPECT_EQ(edit->cursorPosition(), cursor);
    }
    EXPECT_EQ(recorder->selections, (std::vector<std::int32_t>{1, 2, 4, 0, 4, 0, 4, 0}));
    recorder->selections.clear();
    SendKey(edit, Qt::Key_End); // the user moves the insertion point
    SendKey(edit, Qt::Key_Left);
    EXPECT_EQ(recorder->selections, (std::vector<std::int32_t>{4, 3}));

    // With a selection, SelStart is where it begins.
    edit->setSelection(1, 3);
    EXPECT_EQ(field->SelStart(), 1);

    // Set before the field is constructed, the position is applied with it.
    auto later = RuntimeCheckCast<TextField>(window->New(TextField::Lookup()));
    later->SetText("2");
    later->SetSelStart(1);
    EXPECT_EQ(later->SelStart(), 1);
    later->Constructor();
    EXPECT_EQ(WidgetOf<QLineEdit>(*later)->cursorPosition(), 1);
    EXPECT_EQ(later->SelStart(), 1);
}

} // namespace
