#pragma once
// The stored designs of the about window and its controls, key by key in stored order.

#include "app/WindowDesign.h"
#include "framework/controls/Label.h"
#include "framework/core/DesignBlock.h"

namespace AboutBoxDesign {

using namespace Ovelund::design;
using Ovelund::Label;

inline constexpr auto Window = STORED_WINDOW_DESIGN(264, 335, 0, "About...", false);

#define ABOUT_BUTTON(name, top, tabIndex, caption, isDefault)                                                \
    OVELUND_DESIGN_BLOCK(String{"InitialParent", ""}, Boolean{"Underline", false}, Boolean{"Italic", false}, \
                         Boolean{"Bold", true}, String{"TextFont", "System"}, Int32{"ButtonStyle", 0},       \
                         Boolean{"AutoDeactivate", true}, String{"HelpTag", ""}, Boolean{"Visible", true},   \
                         Boolean{"Enabled", true}, Boolean{"Cancel", false}, Boolean{"Default", isDefault},  \
                         String{"Caption", caption}, Boolean{"TabStop", true}, Int32{"TabIndex", tabIndex},  \
                         TRAILING_PLACEMENT_KEYS(72, top, 120, 21, false, name))

#define ABOUT_LABEL(name, left, top, width, height, tabIndex, font, bold, align, multiline, text, lock)      \
    OVELUND_DESIGN_BLOCK(                                                                                    \
        String{"InitialParent", ""}, String{"DataField", ""}, String{"DataSource", ""},                      \
        Boolean{"Underline", false}, Boolean{"Italic", false}, Boolean{"Bold", bold},                        \
        String{"TextFont", font}, Boolean{"AutoDeactivate", true}, String{"HelpTag", ""},                    \
        Boolean{"Transparent", false}, Boolean{"Selectable", false}, Boolean{"Visible", true},               \
        Boolean{"Enabled", true}, Boolean{"Multiline", multiline}, Color{"TextColor", 0, 0, 0},              \
        Enum<Label::Align>{"TextAlign", align}, String{"Text", text}, Int32{"TabIndex", tabIndex},           \
        TRAILING_PLACEMENT_KEYS(left, top, width, height, lock, name), Boolean{"TabStop", true})

inline constexpr auto PushButton1 = ABOUT_BUTTON("PushButton1", 180, 0, "Email Author", false);
inline constexpr auto PushButton2 = ABOUT_BUTTON("PushButton2", 217, 1, "Visit Web Site", false);
inline constexpr auto StaticText2 =
    ABOUT_LABEL("StaticText2", 80, 86, 104, 87, 2, "System", false, Label::Align::Center, true,
                "Developed by\rAldomir\r\rSr. Beta Tester\rCorvath", false);
inline constexpr auto StaticText1 = ABOUT_LABEL("StaticText1", 20, 20, 224, 45, 3, "Arial", true,
                                                Label::Align::Center, false, "Tarnwick", false);
inline constexpr auto StaticText3 = ABOUT_LABEL("StaticText3", 77, 60, 54, 20, 4, "Arial", true,
                                                Label::Align::Left, false, "Version:", false);
inline constexpr auto StaticText4 = ABOUT_LABEL("StaticText4", 128, 60, 59, 20, 5, "Arial", true,
                                                Label::Align::Right, false, "2.2.0 Intel", false);
inline constexpr auto Kagi = ABOUT_BUTTON("Kagi", 254, 6, "Support Dravik", true);
inline constexpr auto Label1 =
    ABOUT_LABEL("Label1", 20, 296, 224, 20, 7, "System", false, Label::Align::Center, false,
                "Icon: M. Calloway, pix.example.org", true);

#undef ABOUT_BUTTON
#undef ABOUT_LABEL

} // namespace AboutBoxDesign
