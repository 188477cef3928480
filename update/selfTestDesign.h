#pragma once
// The stored designs of the self-test window and its controls, key by key in stored order.

#include "app/WindowDesign.h"
#include "framework/controls/Label.h"
#include "framework/core/DesignBlock.h"

namespace selfTestDesign {

using namespace Ovelund::design;
using Ovelund::Label;

inline constexpr auto Window = STORED_WINDOW_DESIGN(214, 102, 0, "Self Test", false);

#define SELFTEST_LABEL(name, left, top, width, height, tabIndex, bold, align, text)                          \
    OVELUND_DESIGN_BLOCK(                                                                                    \
        String{"InitialParent", ""}, String{"DataField", ""}, String{"DataSource", ""},                      \
        Boolean{"Underline", false}, Boolean{"Italic", false}, Boolean{"Bold", bold},                        \
        String{"TextFont", "System"}, Boolean{"AutoDeactivate", true}, String{"HelpTag", ""},                \
        Boolean{"Transparent", false}, Boolean{"Selectable", false}, Boolean{"Visible", true},               \
        Boolean{"Enabled", true}, Boolean{"Multiline", false}, Color{"TextColor", 0, 0, 0},                  \
        Enum<Label::Align>{"TextAlign", align}, String{"Text", text}, Int32{"TabIndex", tabIndex},           \
        TRAILING_PLACEMENT_KEYS(left, top, width, height, false, name), Boolean{"TabStop", true})

inline constexpr auto StaticText1 =
    SELFTEST_LABEL("StaticText1", 38, 21, 67, 20, 0, true, Label::Align::Left, "Version:");
// The version label's text is a placeholder; its Open handler puts the running version in its place.
inline constexpr auto StaticText2 =
    SELFTEST_LABEL("StaticText2", 100, 21, 75, 20, 1, false, Label::Align::Right, "3.0.0 Intel");
inline constexpr auto PushButton1 = OVELUND_DESIGN_BLOCK(
    String{"InitialParent", ""}, Boolean{"Underline", false}, Boolean{"Italic", false}, Boolean{"Bold", true},
    String{"TextFont", "System"}, Int32{"ButtonStyle", 0}, Boolean{"AutoDeactivate", true},
    String{"HelpTag", ""}, Boolean{"Visible", true}, Boolean{"Enabled", true}, Boolean{"Cancel", false},
    Boolean{"Default", true}, String{"Caption", "Check for Updates"}, Boolean{"TabStop", true},
    Int32{"TabIndex", 2}, TRAILING_PLACEMENT_KEYS(28, 61, 157, 21, false, "PushButton1"));

#undef SELFTEST_LABEL

} // namespace selfTestDesign
