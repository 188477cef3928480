// The controls' class records: every design key names a property of its type, and the event tables number
// the controls' own events after those of their bases.

#include "ControlFixture.h"

#include "framework/controls/GroupBox.h"
#include "framework/controls/Label.h"
#include "framework/controls/Listbox.h"
#include "framework/controls/ProgressBar.h"
#include "framework/controls/PushButton.h"
#include "framework/controls/RadioButton.h"
#include "framework/controls/TextEdit.h"
#include "framework/controls/TextField.h"
#include "framework/core/ClassRecord.h"

#include <gtest/gtest.h>

#include <vector>

using namespace Ovelund;
using namespace testing_support;

namespace {

struct KeyCase {
    const ClassRecord& record;
    const char* key;
    PropertyType type;
};

TEST_F(ControlsTest, EveryDesignKeyNamesAPropertyOfItsType) {
    using T = PropertyType;
    const ClassRecord& label = Label::Lookup();
    const ClassRecord& button = PushButton::Lookup();
    const ClassRecord& field = TextField::Lookup();
    const ClassRecord& group = GroupBox::Lookup();
    const ClassRecord& radio = RadioButton::Lookup();
    const ClassRecord& bar = ProgressBar::Lookup();
    const ClassRecord& list = Listbox::Lookup();
    const std::vector<KeyCase> cases = {
        {label, "TextAlign", T::Int32},
        {label, "Multiline", T::Boolean},
        {label, "Selectable", T::Boolean},
        {label, "Transparent", T::Boolean},
        {label, "Bold", T::Boolean},
        {label, "Italic", T::Boolean},
        {label, "Underline", T::Boolean},
        {label, "TextColor", T::Color},
        {label, "Text", T::String},
        {label, "TextFont", T::String},
        {label, "DataSource", T::String},
        {label, "DataField", T::String},
        {label, "TextSize", T::Single},
        {label, "TextUnit", T::Byte},
        {button, "ButtonStyle", T::Int32},
        {button, "Default", T::Boolean},
        {button, "Cancel", T::Boolean},
        {button, "Bold", T::Boolean},
        {button, "Italic", T::Boolean},
        {button, "Underline", T::Boolean},
        {button, "Caption", T::String},
        {button, "TextFont", T::String},
        {field, "Alignment", T::Int32},
        {field, "LimitText", T::Int32},
        {field, "AcceptTabs", T::Boolean},
        {field, "Border", T::Boolean},
        {field, "Password", T::Boolean},
        {field, "ReadOnly", T::Boolean},
        {field, "UseFocusRing", T::Boolean},
        {field, "Bold", T::Boolean},
        {field, "Italic", T::Boolean},
        {field, "Underline", T::Boolean},
        {field, "AutomaticallyCheckSpelling", T::Boolean},
        {field, "BackColor", T::Color},
        {field, "TextColor", T::Color},
        {field, "Text", T::String},
        {field, "CueText", T::String},
        {field, "Format", T::String},
        {field, "Mask", T::String},
        {field, "TextFont", T::String},
        {field, "DataSource", T::String},
        {field, "DataField", T::String},
        {group, "Bold", T::Boolean},
        {group, "Italic", T::Boolean},
        {group, "Underline", T::Boolean},
        {group, "Caption", T::String},
        {group, "TextFont", T::String},
        {radio, "Value", T::Boolean},
        {radio, "Bold", T::Boolean},
        {radio, "Italic", T::Boolean},
        {radio, "Underline", T::Boolean},
        {radio, "Caption", T::String},
        {radio, "TextFont", T::String},
        {bar, "Maximum", T::Int32},
        {bar, "Value", T::Int32},
        {list, "ColumnCount", T::Int32},
        {list, "HeadingIndex", T::Int32},
        {list, "GridLinesHorizontal", T::Int32},
        {list, "GridLinesVertical", T::Int32},
        {list, "DefaultRowHeight", T::Int32},
        {list, "SelectionType", T::Int32},
        {list, "_ScrollWidth", T::Int32},
        {list, "_ScrollOffset", T::Int32},
        {list, "Border", T::Boolean},
        {list, "HasHeading", T::Boolean},
        {list, "UseFocusRing", T::Boolean},
        {list, "ScrollbarHorizontal", T::Boolean},
        {list, "ScrollBarVertical", T::Boolean},
        {list, "Hierarchical", T::Boolean},
        {list, "EnableDrag", T::Boolean},
        {list, "EnableDragReorder", T::Boolean},
        {list, "RequiresSelection", T::Boolean},
        {list, "ColumnsResizable", T::Boolean},
        {list, "AutoHideScrollbars", T::Boolean},
        {list, "Bold", T::Boolean},
        {list, "Italic", T::Boolean},
        {list, "Underline", T::Boolean},
        {list, "ColumnWidths", T::String},
        {list, "InitialValue", T::String},
        {list, "TextFont", T::String},
        {list, "DataSource", T::String},
        {list, "DataField", T::String},
    };
    for (const KeyCase& c : cases) {
        SCOPED_TRACE(c.record.FullName() + "." + c.key);
        const PropertyRecord* property = c.record.FindProperty(c.key);
        ASSERT_NE(property, nullptr);
        EXPECT_EQ(property->type, c.type);
        EXPECT_TRUE(property->set);
    }
    EXPECT_EQ(ProgressBar::Lookup().FindProperty("Caption"), nullptr);
}

TEST_F(ControlsTest, EventTablesNumberTheControlsOwnEventsFrom15) {
    ASSERT_NE(PushButton::Lookup().FindEvent(15), nullptr);
    EXPECT_EQ(PushButton::Lookup().FindEvent(15)->name, "Action");
    ASSERT_NE(RadioButton::Lookup().FindEvent(15), nullptr);
    EXPECT_EQ(RadioButton::Lookup().FindEvent(15)->name, "Action");
    ASSERT_NE(TextField::Lookup().FindEvent(20), nullptr);
    EXPECT_EQ(TextField::Lookup().FindEvent(20)->name, "SelChange");
    ASSERT_NE(TextField::Lookup().FindEvent(21), nullptr);
    EXPECT_EQ(TextField::Lookup().FindEvent(21)->name, "TextChange");
    for (const ClassRecord* record : {&Label::Lookup(), &Listbox::Lookup(), &TextField::Lookup()}) {
        ASSERT_NE(record->FindEvent(2), nullptr);
        EXPECT_EQ(record->FindEvent(2)->name, "Open");
    }
    EXPECT_TRUE(TextField::Lookup().InheritsFrom(TextEdit::Lookup()));
    EXPECT_EQ(RuntimeNewObject(TextEdit::Lookup()), nullptr) << "TextEdit is only a base";
}

} // namespace
