#pragma once
// Menu entries. A menu is an entry with children; a MenuBar is the root. Texts go to the toolkit as they
// stand: "&" marks the access key, "-" makes a separator, and "Cmd+" in a shortcut names the platform's
// command key (Ctrl here).

#include "framework/core/ClassRecord.h"
#include "framework/core/ForTests.h"
#include "framework/core/Object.h"
#include "framework/core/String.h"

#include <memory>
#include <vector>

namespace Ovelund {

struct MenuItemNative;

class MenuItem : public Object {
    OVELUND_OBJECT
public:
    MenuItem();
    ~MenuItem() override;

    void Constructor() {}

    const String& Name() const { return name_; }
    void SetName(const String& name);
    const String& Text() const { return text_; }
    void SetText(const String& text);
    const String& KeyboardShortcut() const { return shortcut_; }
    void SetKeyboardShortcut(const String& shortcut);
    OVELUND_FOR_TESTS bool KeyboardShortcutIsSet() const { return shortcutSet_; }
    bool AutoEnable() const { return autoEnable_; }
    void SetAutoEnable(bool autoEnable);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);

    void Append(const Ref<MenuItem>& item);
    std::size_t Count() const { return children_.size(); }
    Ref<MenuItem> Item(std::size_t index) const {
        return index < children_.size() ? children_[index] : nullptr;
    }
    // The direct child with that name, or nil.
    Ref<MenuItem> Child(const String& name) const;
    // The entry with that name anywhere below this one, or nil.
    Ref<MenuItem> FindItem(const String& name) const;
    OVELUND_FOR_TESTS MenuItem* Parent() const { return parent_; }
    bool IsSeparator() const { return text_ == "-"; }

    // What choosing the entry does when no menu handler is registered for its name. The standard Edit entries
    // (EditUndo, EditCut, EditCopy, EditPaste, EditClear) act on the focused widget's edit target
    // (framework/qt/EditTarget.h). Returns whether the choice was handled.
    virtual bool Action();
    // Whether an auto-enabled entry can be chosen now.
    virtual bool CanAct() const;

    // Framework-internal: the toolkit side of the entry (framework/qt/MenuItemNative.h), made on first use.
    MenuItemNative& Native();

private:
    void UpdateNativeAction();

    String name_;
    String text_;
    String shortcut_;
    bool shortcutSet_ = false;
    bool autoEnable_ = true;
    bool enabled_ = true;
    MenuItem* parent_ = nullptr;
    std::vector<Ref<MenuItem>> children_;
    std::unique_ptr<MenuItemNative> native_;
};

// Ends the application, as File > Quit does. Returns true: the choice was handled.
bool QuitMenuAction();

class QuitMenuItem : public MenuItem {
    OVELUND_OBJECT
public:
    bool Action() override { return QuitMenuAction(); }
    bool CanAct() const override { return true; }
};

// An entry that the platform may place in its application menu; shown in place here.
class AppleMenuItem : public MenuItem {
    OVELUND_OBJECT
};

// Chooses the entry as the user would: the application's handler for its name, or else its own action.
void RuntimeChooseMenuItem(MenuItem& item);

} // namespace Ovelund
