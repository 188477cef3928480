#pragma once
// What the standard Edit menu entries act on: the widget that has the keyboard focus, when it takes edit
// commands. A control's widget implements it for the commands it knows (a text field all five, the list
// Copy), so that the menus know no widget type.

namespace Ovelund {

enum class EditCommand { Undo, Cut, Copy, Paste, Clear };

class EditTarget {
public:
    // Whether the command would do something now: what enables an auto-enabled Edit entry.
    virtual bool CanEdit(EditCommand command) const = 0;
    // Carries the command out; false when the target does not take that command at all.
    virtual bool Edit(EditCommand command) = 0;

protected:
    ~EditTarget() = default;
};

// The edit target that has the keyboard focus, or nullptr.
EditTarget* FocusedEditTarget();

} // namespace Ovelund
