#pragma once
// The stored designs of the main window and its controls, key by key in the order each design lists them.
// Positions are in the window's content area, for the group box's children too.

#include "app/WindowDesign.h"
#include "framework/controls/Label.h"
#include "framework/controls/TextField.h"
#include "framework/core/DesignBlock.h"

namespace Window1Design {

using namespace Ovelund::design;
using Ovelund::Label;
using Ovelund::TextField;

inline constexpr auto Window = STORED_WINDOW_DESIGN(700, 530, 0, "Tarnwick", true);

// The keys that begin every control design of this window.
#define WINDOW1_PLACEMENT(name, left, top, width, height, lockLeft, lockTop, lockRight, tabIndex)            \
    String{"Name", name}, Int32{"Index", kNoControlArray}, Int32{"Left", left}, Int32{"Top", top},           \
        Int32{"Width", width}, Int32{"Height", height}, Boolean{"LockLeft", lockLeft},                       \
        Boolean{"LockTop", lockTop}, Boolean{"LockRight", lockRight}, Boolean{"LockBottom", false},          \
        Int32{"TabPanelIndex", 0}, Int32 {                                                                   \
        "TabIndex", tabIndex                                                                                 \
    }

#define WINDOW1_LABEL(name, left, top, width, height, lockLeft, lockTop, lockRight, tabIndex, text, align,   \
                      red, multiline, visible, font, parent)                                                 \
    OVELUND_DESIGN_BLOCK(                                                                                    \
        WINDOW1_PLACEMENT(name, left, top, width, height, lockLeft, lockTop, lockRight, tabIndex),           \
        String{"Text", text}, Enum<Label::Align>{"TextAlign", align}, Color{"TextColor", red, 0, 0},         \
        Boolean{"Multiline", multiline}, Boolean{"Enabled", true}, Boolean{"Visible", visible},              \
        Boolean{"Selectable", false}, Boolean{"Transparent", false}, String{"HelpTag", ""},                  \
        Boolean{"AutoDeactivate", true}, String{"TextFont", font}, Boolean{"Bold", true},                    \
        Boolean{"Italic", false}, Boolean{"Underline", false}, String{"DataSource", ""},                     \
        String{"DataField", ""}, String{"InitialParent", parent})

#define WINDOW1_BUTTON(name, left, top, width, caption, isDefault, enabled, tabIndex)                        \
    OVELUND_DESIGN_BLOCK(WINDOW1_PLACEMENT(name, left, top, width, 20, false, false, true, tabIndex),        \
                         Boolean{"TabStop", true}, String{"Caption", caption},                               \
                         Boolean{"Default", isDefault}, Boolean{"Cancel", false},                            \
                         Boolean{"Enabled", enabled}, Boolean{"Visible", true}, String{"HelpTag", ""},       \
                         Boolean{"AutoDeactivate", true}, Int32{"ButtonStyle", 0},                           \
                         String{"TextFont", "System"}, Boolean{"Bold", false}, Boolean{"Italic", false},     \
                         Boolean{"Underline", false}, String{"InitialParent", ""})

#define WINDOW1_FIELD(name, top, tabIndex, text)                                                             \
    OVELUND_DESIGN_BLOCK(                                                                                    \
        WINDOW1_PLACEMENT(name, 581, top, 98, 21, false, false, true, tabIndex), Boolean{"TabStop", true},   \
        Boolean{"Border", true}, Boolean{"Password", false}, Boolean{"UseFocusRing", true},                  \
        Color{"TextColor", 0, 0, 0}, Color{"BackColor", 0xFF, 0xFF, 0xFF}, Boolean{"Enabled", true},         \
        String{"Format", ""}, Boolean{"Visible", true}, String{"HelpTag", ""},                               \
        Boolean{"AutoDeactivate", true}, String{"TextFont", "System"}, Boolean{"Bold", false},               \
        Boolean{"Italic", false}, Boolean{"Underline", false}, String{"CueText", ""}, String{"Text", text},  \
        String{"Mask", ""}, Boolean{"ReadOnly", false}, Int32{"LimitText", 0}, Boolean{"AcceptTabs", false}, \
        Enum<TextField::Align>{"Alignment", TextField::Align::Center},                                       \
        Boolean{"AutomaticallyCheckSpelling", false}, String{"DataSource", ""}, String{"DataField", ""},     \
        String{"InitialParent", ""})

#define WINDOW1_RADIO(name, left, top, tabIndex, caption, value)                                             \
    OVELUND_DESIGN_BLOCK(WINDOW1_PLACEMENT(name, left, top, 80, 20, false, false, false, tabIndex),          \
                         Boolean{"TabStop", true}, String{"Caption", caption}, Boolean{"Enabled", true},     \
                         Boolean{"Visible", true}, String{"HelpTag", ""}, Boolean{"AutoDeactivate", true},   \
                         String{"TextFont", "System"}, Boolean{"Bold", true}, Boolean{"Italic", false},      \
                         Boolean{"Underline", false}, Boolean{"Value", value},                               \
                         String{"InitialParent", "GroupBox1"})

inline constexpr auto ListBox1 = OVELUND_DESIGN_BLOCK(
    WINDOW1_PLACEMENT("ListBox1", 20, 34, 475, 467, false, false, false, 2), Boolean{"TabStop", true},
    Boolean{"Visible", true}, String{"HelpTag", ""}, Boolean{"AutoDeactivate", true},
    Boolean{"Enabled", true}, Boolean{"Border", true}, Int32{"ColumnCount", 3},
    String{"ColumnWidths", "30%,40%,30%"}, Boolean{"HasHeading", false}, Boolean{"UseFocusRing", false},
    String{"InitialValue", ""}, Int32{"HeadingIndex", -1}, Boolean{"ScrollbarHorizontal", false},
    Boolean{"ScrollBarVertical", true}, Int32{"GridLinesHorizontal", 2}, Int32{"GridLinesVertical", 2},
    Int32{"DefaultRowHeight", -1}, Int32{"_ScrollWidth", -1}, Int32{"_ScrollOffset", 0},
    String{"TextFont", "System"}, Boolean{"Bold", false}, Boolean{"Italic", false},
    Boolean{"Underline", false}, Boolean{"Hierarchical", false}, Boolean{"EnableDrag", false},
    Boolean{"EnableDragReorder", false}, Boolean{"RequiresSelection", false}, Int32{"SelectionType", 1},
    Boolean{"ColumnsResizable", false}, Boolean{"AutoHideScrollbars", true}, String{"DataSource", ""},
    String{"DataField", ""}, String{"InitialParent", ""});

inline constexpr auto Start = WINDOW1_BUTTON("Start", 515, 456, 69, "Start", true, true, 3);
inline constexpr auto EditField1 = WINDOW1_FIELD("EditField1", 374, 1, "500");
inline constexpr auto StaticText1 =
    WINDOW1_LABEL("StaticText1", 499, 374, 74, 20, false, false, true, 4, "# Primes:", Label::Align::Right, 0,
                  false, true, "Helvetica Neue", "");
inline constexpr auto StaticText2 =
    WINDOW1_LABEL("StaticText2", 512, 343, 61, 20, false, false, true, 5, "Start At:", Label::Align::Right, 0,
                  false, true, "Helvetica Neue", "");
inline constexpr auto EditField2 = WINDOW1_FIELD("EditField2", 341, 0, "2");

inline constexpr auto GroupBox1 =
    OVELUND_DESIGN_BLOCK(WINDOW1_PLACEMENT("GroupBox1", 517, 55, 159, 269, false, false, true, 6),
                         Boolean{"TabStop", true}, String{"Caption", "Choose desired mode"},
                         Boolean{"Enabled", true}, Boolean{"Visible", true}, String{"HelpTag", ""},
                         Boolean{"AutoDeactivate", true}, String{"TextFont", "System"}, Boolean{"Bold", true},
                         Boolean{"Italic", false}, Boolean{"Underline", false}, String{"InitialParent", ""});

inline constexpr auto RadioButton1 = WINDOW1_RADIO("RadioButton1", 523, 82, 0, "Mode A", true);
inline constexpr auto RadioButton2 = WINDOW1_RADIO("RadioButton2", 521, 210, 1, "Mode B", false);
inline constexpr auto StaticText5 = WINDOW1_LABEL(
    "StaticText5", 527, 107, 134, 99, false, false, false, 2,
    "Choose this mode if you want to find a certain number of primes, starting with a specific number.",
    Label::Align::Left, 0, true, true, "Helvetica Neue", "GroupBox1");
inline constexpr auto StaticText6 =
    WINDOW1_LABEL("StaticText6", 527, 235, 134, 80, false, false, false, 3,
                  "Choose this mode if you want to find all primes between two specific numbers.",
                  Label::Align::Left, 0, true, true, "Helvetica Neue", "GroupBox1");
inline constexpr auto StaticText7 =
    WINDOW1_LABEL("StaticText7", 515, 403, 166, 41, false, false, true, 7, "9,999,999,999 max\rboth fields",
                  Label::Align::Center, 0, true, true, "Helvetica Neue", "");
inline constexpr auto Stop = WINDOW1_BUTTON("Stop", 601, 456, 80, "Stop", false, false, 8);
inline constexpr auto StaticText8 =
    WINDOW1_LABEL("StaticText8", 20, 13, 142, 20, false, false, false, 9, "Index", Label::Align::Center, 0,
                  false, true, "System", "");
inline constexpr auto StaticText9 =
    WINDOW1_LABEL("StaticText9", 164, 13, 189, 20, false, false, false, 10, "Prime Number",
                  Label::Align::Center, 0, false, true, "System", "");
inline constexpr auto StaticText91 = WINDOW1_LABEL("StaticText91", 355, 13, 115, 20, false, false, false, 11,
                                                   "Gap", Label::Align::Center, 0, false, true, "System", "");
// Both timers share one design: off, with a 20 ms period.
inline constexpr auto Timer = OVELUND_DESIGN_BLOCK(Int32{"Mode", 0}, Int32{"Period", 20});
inline constexpr auto Warning =
    WINDOW1_LABEL("Warning", 514, 20, 162, 20, true, true, false, 12, "I hope you are patient!",
                  Label::Align::Center, 0xFF, true, false, "System", "");

#undef WINDOW1_PLACEMENT
#undef WINDOW1_LABEL
#undef WINDOW1_BUTTON
#undef WINDOW1_FIELD
#undef WINDOW1_RADIO

} // namespace Window1Design
