#include "framework/application/MenuItem.h"

#include "framework/application/Application.h"
#include "framework/application/MenuBar.h"
#include "framework/dispatch/Dispatch.h"
#include "framework/qt/EditTarget.h"
#include "framework/qt/MenuItemNative.h"
#include "framework/qt/QtText.h"
#include "framework/runtime/EventLoop.h"
#include "framework/runtime/UIThread.h"

#include <QAction>
#include <QKeySequence>

#include <optional>

namespace Ovelund {

namespace {
// "Cmd+Q" names the platform's command key, which is Ctrl on this platform.
QKeySequence ShortcutFor(const String& text) {
    QString shortcut = ToQt(text);
    shortcut.replace(QStringLiteral("Cmd+"), QStringLiteral("Ctrl+"), Qt::CaseInsensitive);
    return QKeySequence::fromString(shortcut, QKeySequence::PortableText);
}

// The standard Edit entries, by name.
std::optional<EditCommand> EditCommandFor(const String& name) {
    if (name == "EditUndo")
        return EditCommand::Undo;
    if (name == "EditCut")
        return EditCommand::Cut;
    if (name == "EditCopy")
        return EditCommand::Copy;
    if (name == "EditPaste")
        return EditCommand::Paste;
    if (name == "EditClear")
        return EditCommand::Clear;
    return std::nullopt;
}
} // namespace

const ClassRecord& MenuItem::Lookup() {
    static const ClassRecord record =
        ClassBuilder<MenuItem>("MenuItem", &Object::Lookup())
            .Property("Name", &MenuItem::SetName, &MenuItem::Name)
            .Property("Text", &MenuItem::SetText, &MenuItem::Text)
            .Property("KeyboardShortcut", &MenuItem::SetKeyboardShortcut, &MenuItem::KeyboardShortcut)
            .Property("AutoEnable", &MenuItem::SetAutoEnable, &MenuItem::AutoEnable)
            .Property("Enabled", &MenuItem::SetEnabled, &MenuItem::Enabled)
            .Build();
    return record;
}
const ClassRecord& QuitMenuItem::Lookup() {
    static const ClassRecord record = ClassBuilder<QuitMenuItem>("QuitMenuItem", &MenuItem::Lookup()).Build();
    return record;
}
const ClassRecord& AppleMenuItem::Lookup() {
    static const ClassRecord record =
        ClassBuilder<AppleMenuItem>("AppleMenuItem", &MenuItem::Lookup()).Build();
    return record;
}
const ClassRecord& MenuBar::Lookup() {
    static const ClassRecord record = ClassBuilder<MenuBar>("MenuBar", &MenuItem::Lookup()).Build();
    return record;
}

MenuItem::MenuItem() : native_(std::make_unique<MenuItemNative>()) {}
MenuItem::~MenuItem() = default;

void MenuItem::SetName(const String& name) {
    CheckUIThread();
    name_ = name;
}

void MenuItem::SetText(const String& text) {
    CheckUIThread();
    text_ = text;
    UpdateNativeAction();
}

void MenuItem::SetKeyboardShortcut(const String& shortcut) {
    CheckUIThread();
    shortcut_ = shortcut;
    shortcutSet_ = true;
    UpdateNativeAction();
}

void MenuItem::SetAutoEnable(bool autoEnable) {
    CheckUIThread();
    autoEnable_ = autoEnable;
    UpdateNativeAction();
}

void MenuItem::SetEnabled(bool enabled) {
    CheckUIThread();
    enabled_ = enabled;
    UpdateNativeAction();
}

void MenuItem::Append(const Ref<MenuItem>& item) {
    CheckUIThread();
    CheckNil(item);
    item->parent_ = this;
    children_.push_back(item);
}

Ref<MenuItem> MenuItem::Child(const String& name) const {
    for (const auto& child : children_)
        if (child->name_ == name)
            return child;
    return nullptr;
}

Ref<MenuItem> MenuItem::FindItem(const String& name) const {
    for (const auto& child : children_) {
        if (child->name_ == name)
            return child;
        if (auto found = child->FindItem(name))
            return found;
    }
    return nullptr;
}

bool MenuItem::Action() {
    const std::optional<EditCommand> command = EditCommandFor(name_);
    EditTarget* target = command ? FocusedEditTarget() : nullptr;
    return target && target->Edit(*command);
}

bool MenuItem::CanAct() const {
    if (!children_.empty())
        return true;
    if (auto app = GetAppObject(); app && app->HasMenuHandler(name_))
        return true;
    const std::optional<EditCommand> command = EditCommandFor(name_);
    EditTarget* target = command ? FocusedEditTarget() : nullptr;
    return target && target->CanEdit(*command);
}

MenuItemNative& MenuItem::Native() {
    if (!native_->action) {
        native_->action = std::make_unique<QAction>();
        QObject::connect(native_->action.get(), &QAction::triggered, [this] {
            auto self = std::static_pointer_cast<MenuItem>(weak_from_this().lock());
            if (self)
                Dispatch([self] { RuntimeChooseMenuItem(*self); });
        });
        UpdateNativeAction();
    }
    return *native_;
}

QAction* NativeAction(MenuItem& item) {
    return item.Native().action.get();
}

void MenuItem::UpdateNativeAction() {
    QAction* action = native_->action.get();
    if (!action)
        return;
    // A separator is a line only: the style would draw a separator's text ("-") beside the line.
    action->setSeparator(IsSeparator());
    action->setText(IsSeparator() ? QString() : ToQt(text_));
    action->setShortcut(shortcutSet_ ? ShortcutFor(shortcut_) : QKeySequence());
    action->setEnabled(autoEnable_ ? CanAct() : enabled_);
}

void RuntimeChooseMenuItem(MenuItem& item) {
    if (auto app = GetAppObject(); app && app->HandleMenuCommand(item.Name()))
        return;
    item.Action();
}

bool QuitMenuAction() {
    Quit(0);
    return true;
}

} // namespace Ovelund
