#pragma once
// The stored designs of the update window and its controls, key by key in stored order.

#include "app/WindowDesign.h"
#include "framework/controls/Label.h"
#include "framework/core/DesignBlock.h"

namespace updateWindowDesign {

using namespace Ovelund::design;
using Ovelund::Label;

inline constexpr auto Window = STORED_WINDOW_DESIGN(300, 120, 1, "Update", true);

inline constexpr auto StaticText1 = OVELUND_DESIGN_BLOCK(
    String{"InitialParent", ""}, String{"DataField", ""}, String{"DataSource", ""},
    Boolean{"Underline", false}, Boolean{"Italic", false}, Boolean{"Bold", false},
    String{"TextFont", "System"}, Boolean{"AutoDeactivate", true}, String{"HelpTag", ""},
    Boolean{"Transparent", false}, Boolean{"Selectable", false}, Boolean{"Visible", true},
    Boolean{"Enabled", true}, Boolean{"Multiline", false}, Color{"TextColor", 0, 0, 0},
    Enum<Label::Align>{"TextAlign", Label::Align::Left}, String{"Text", "Checking for updates..."},
    Int32{"TabIndex", 0}, TRAILING_PLACEMENT_KEYS(20, 19, 266, 20, false, "StaticText1"),
    Boolean{"TabStop", true});

inline constexpr auto ProgressBar1 = OVELUND_DESIGN_BLOCK(
    String{"InitialParent", ""}, Int32{"Maximum", 100}, Int32{"Value", 0}, Boolean{"Enabled", true},
    Boolean{"AutoDeactivate", true}, String{"HelpTag", ""}, Boolean{"Visible", true},
    TRAILING_PLACEMENT_KEYS(20, 46, 260, 12, false, "ProgressBar1"), Int32{"TabIndex", 1},
    Boolean{"TabStop", true});

// No proxy, no fixed address, and a port of 0: the address and port come from the URL.
inline constexpr auto hp =
    OVELUND_DESIGN_BLOCK(Boolean{"yield", false}, Int32{"Port", 0}, String{"Address", ""},
                         String{"httpProxyAddress", ""}, Int32{"httpProxyPort", 0});

// Both the default and the cancel button: Return and Escape press it.
inline constexpr auto PushButton1 =
    OVELUND_DESIGN_BLOCK(String{"InitialParent", ""}, Boolean{"Underline", false}, Boolean{"Italic", false},
                         Boolean{"Bold", false}, String{"TextFont", "System"}, Int32{"ButtonStyle", 0},
                         Boolean{"AutoDeactivate", true}, String{"HelpTag", ""}, Boolean{"Visible", true},
                         Boolean{"Enabled", true}, Boolean{"Cancel", true}, Boolean{"Default", true},
                         String{"Caption", "Cancel"}, Boolean{"TabStop", true}, Int32{"TabIndex", 3},
                         TRAILING_PLACEMENT_KEYS(208, 80, 72, 20, false, "PushButton1"));

} // namespace updateWindowDesign
