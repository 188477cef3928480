#include "framework/controls/TextField.h"

#include "framework/core/FlagScope.h"
#include "framework/core/Text.h"
#include "framework/dispatch/Dispatch.h"
#include "framework/qt/ControlNative.h"
#include "framework/qt/EditTarget.h"
#include "framework/qt/HorizontalAlignment.h"
#include "framework/qt/QtText.h"
#include "framework/runtime/UIThread.h"

#include <QApplication>
#include <QClipboard>
#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPalette>

#include <algorithm>
#include <limits>

namespace Ovelund {

namespace {

bool StartsPair(const QString& text, qsizetype at) {
    return text[at].isHighSurrogate() && at + 1 < text.size() && text[at + 1].isLowSurrogate();
}

// The number of characters in text[0, end) (end in UTF-16 code units).
std::int64_t CharactersBefore(const QString& text, qsizetype end) {
    end = std::clamp<qsizetype>(end, 0, text.size());
    std::int64_t count = 0;
    for (qsizetype at = 0; at < end; at += StartsPair(text, at) ? 2 : 1)
        ++count;
    return count;
}

// The UTF-16 index of the character at `characters` (clamped into the text).
qsizetype IndexOfCharacter(const QString& text, std::int64_t characters) {
    qsizetype at = 0;
    for (; characters > 0 && at < text.size(); --characters)
        at += StartsPair(text, at) ? 2 : 1;
    return std::min(at, text.size());
}

class FieldEdit final : public QLineEdit, public EditTarget {
public:
    using QLineEdit::QLineEdit;
    bool acceptTabs = false;

    bool CanEdit(EditCommand command) const override {
        const bool shown = echoMode() == QLineEdit::Normal;
        switch (command) {
        case EditCommand::Undo:
            return !isReadOnly() && isUndoAvailable();
        case EditCommand::Cut:
            return !isReadOnly() && hasSelectedText() && shown;
        case EditCommand::Copy:
            return hasSelectedText() && shown;
        case EditCommand::Paste:
            return !isReadOnly() && QApplication::clipboard() && !QApplication::clipboard()->text().isEmpty();
        case EditCommand::Clear:
            return !isReadOnly() && hasSelectedText();
        }
        return false;
    }

    bool Edit(EditCommand command) override {
        switch (command) {
        case EditCommand::Undo:
            undo();
            break;
        case EditCommand::Cut:
            cut();
            break;
        case EditCommand::Copy:
            copy();
            break;
        case EditCommand::Paste:
            paste();
            break;
        case EditCommand::Clear:
            del();
            break;
        }
        return true;
    }

protected:
    bool event(QEvent* event) override {
        // Tab moves the focus before any key handler sees it, so a field that takes tabs catches it here.
        if (acceptTabs && event->type() == QEvent::KeyPress) {
            auto* key = static_cast<QKeyEvent*>(event);
            if (key->key() == Qt::Key_Tab && (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
                if (!isReadOnly())
                    insert(QStringLiteral("\t"));
                return true;
            }
        }
        return QLineEdit::event(event);
    }
};

FieldEdit* EditOf(const ControlNative& native) {
    return dynamic_cast<FieldEdit*>(native.widget.data());
}

std::pair<std::int64_t, std::int64_t> SelectionOf(const QLineEdit& edit) {
    if (edit.hasSelectedText())
        return {edit.selectionStart(), edit.selectionLength()};
    return {edit.cursorPosition(), 0};
}

int MaxLength(std::int32_t limit) {
    return limit > 0 ? limit : std::numeric_limits<int>::max();
}

void SetRoleColor(QWidget& widget, QPalette::ColorRole role, Color color) {
    QPalette palette = widget.palette();
    const QColor shown(color.red, color.green, color.blue);
    palette.setColor(QPalette::Active, role, shown);
    palette.setColor(QPalette::Inactive, role, shown);
    widget.setPalette(palette);
}

} // namespace

const ClassRecord& TextField::Lookup() {
    static const ClassRecord record =
        ClassBuilder<TextField>("TextField", &TextEdit::Lookup())
            .Event<>(EventSelChange, "SelChange")
            .Event<>(EventTextChange, "TextChange")
            .Property("Text", &TextField::SetText, &TextField::Text)
            .Property("Alignment", &TextField::SetAlignment, &TextField::Alignment)
            .Property("LimitText", &TextField::SetLimitText, &TextField::LimitText)
            .Property("AcceptTabs", &TextField::SetAcceptTabs, &TextField::AcceptTabs)
            .Property("Border", &TextField::SetBorder, &TextField::Border)
            .Property("Password", &TextField::SetPassword, &TextField::Password)
            .Property("ReadOnly", &TextField::SetReadOnly, &TextField::ReadOnly)
            .Property("UseFocusRing", &TextField::SetUseFocusRing, &TextField::UseFocusRing)
            .Property("BackColor", &TextField::SetBackColor, &TextField::BackColor)
            .Property("TextColor", &TextField::SetTextColor, &TextField::TextColor)
            .Property("CueText", &TextField::SetCueText, &TextField::CueText)
            .Property("Format", &TextField::SetFormat, &TextField::Format)
            .Property("Mask", &TextField::SetMask, &TextField::Mask)
            .With(&RectControl::FontProperties<TextField>)
            .Property("DataSource", &TextField::SetDataSource, &TextField::DataSource)
            .Property("DataField", &TextField::SetDataField, &TextField::DataField)
            .Build();
    return record;
}

void TextField::CreateWidget(ControlNative& native) {
    auto* edit = new FieldEdit(native.parent);
    native.widget = edit;
    edit->acceptTabs = acceptTabs_;
    edit->setFrame(border_);
    edit->setEchoMode(password_ ? QLineEdit::Password : QLineEdit::Normal);
    edit->setReadOnly(readOnly_);
    edit->setAttribute(Qt::WA_MacShowFocusRect, useFocusRing_);
    edit->setAlignment(HorizontalAlignment(alignment_) | Qt::AlignVCenter);
    edit->setMaxLength(MaxLength(limitText_));
    edit->setPlaceholderText(ToQt(cueText_));
    if (backColorSet_)
        SetRoleColor(*edit, QPalette::Base, backColor_);
    if (textColorSet_)
        SetRoleColor(*edit, QPalette::Text, textColor_);
    edit->setText(ToQt(text_));
    const QString shown = edit->text();
    text_ = FromQt(shown);
    edit->setCursorPosition(static_cast<int>(IndexOfCharacter(shown, std::max<std::int32_t>(selStart_, 0))));
    selection_ = SelectionOf(*edit);

    WeakRef<Object> weak = weak_from_this();
    QObject::connect(edit, &QLineEdit::textChanged, edit, [weak] {
        if (Ref<Object> self = weak.lock())
            static_cast<TextField&>(*self).UserChangedText();
    });
    auto moved = [weak] {
        if (Ref<Object> self = weak.lock())
            static_cast<TextField&>(*self).UserMovedSelection();
    };
    QObject::connect(edit, &QLineEdit::cursorPositionChanged, edit, moved);
    QObject::connect(edit, &QLineEdit::selectionChanged, edit, moved);
}

void TextField::UserChangedText() {
    FieldEdit* edit = EditOf(Native());
    if (!edit)
        return;
    text_ = FromQt(edit->text());
    if (programChange_)
        return;
    Ref<Object> self = shared_from_this();
    Dispatch([this, self] { RaiseEvent(EventTextChange, self); });
}

void TextField::UserMovedSelection() {
    FieldEdit* edit = EditOf(Native());
    if (!edit || programChange_)
        return;
    const auto selection = SelectionOf(*edit);
    if (selection == selection_)
        return;
    selection_ = selection;
    Ref<Object> self = shared_from_this();
    Dispatch([this, self] { RaiseEvent(EventSelChange, self); });
}

template <class Change> void TextField::ProgramChange(Change&& change) {
    FieldEdit* edit = EditOf(Native());
    if (!edit)
        return;
    const QString before = edit->text();
    {
        const FlagScope programChange(programChange_);
        change(*edit);
    }
    const QString after = edit->text();
    text_ = FromQt(after);
    const auto selection = SelectionOf(*edit);
    const bool moved = selection != selection_;
    selection_ = selection;
    // Raised here, outside the toolkit's signal, so that a handler's exception reaches the caller.
    Ref<Object> self = shared_from_this();
    if (after != before)
        RaiseEvent(EventTextChange, self);
    if (moved)
        RaiseEvent(EventSelChange, self);
}

void TextField::SetText(const String& value) {
    CheckUIThread();
    if (!EditOf(Native())) {
        text_ = value;
        return;
    }
    ProgramChange([&value](QLineEdit& edit) { edit.setText(ToQt(value)); });
}

std::int32_t TextField::SelStart() const {
    std::int64_t characters = 0;
    if (FieldEdit* edit = EditOf(Native()))
        characters = CharactersBefore(edit->text(), SelectionOf(*edit).first);
    else
        characters = std::clamp<std::int64_t>(selStart_, 0, Len(text_));
    return static_cast<std::int32_t>(
        std::min<std::int64_t>(characters, std::numeric_limits<std::int32_t>::max()));
}

void TextField::SetSelStart(std::int32_t value) {
    CheckUIThread();
    if (!EditOf(Native())) {
        selStart_ = value;
        return;
    }
    ProgramChange([value](QLineEdit& edit) {
        edit.setCursorPosition(
            static_cast<int>(IndexOfCharacter(edit.text(), std::max<std::int32_t>(value, 0))));
    });
}

void TextField::SetAlignment(std::int32_t value) {
    CheckUIThread();
    alignment_ = static_cast<Align>(value);
    if (FieldEdit* edit = EditOf(Native()))
        edit->setAlignment(HorizontalAlignment(alignment_) | Qt::AlignVCenter);
}

void TextField::SetLimitText(std::int32_t value) {
    CheckUIThread();
    limitText_ = value;
    // A new limit shortens a longer text, which is a change of the text.
    ProgramChange([value](QLineEdit& edit) { edit.setMaxLength(MaxLength(value)); });
}

void TextField::SetAcceptTabs(bool value) {
    CheckUIThread();
    acceptTabs_ = value;
    if (FieldEdit* edit = EditOf(Native()))
        edit->acceptTabs = value;
}

void TextField::SetBorder(bool value) {
    CheckUIThread();
    border_ = value;
    if (FieldEdit* edit = EditOf(Native()))
        edit->setFrame(value);
}

void TextField::SetPassword(bool value) {
    CheckUIThread();
    password_ = value;
    if (FieldEdit* edit = EditOf(Native()))
        edit->setEchoMode(value ? QLineEdit::Password : QLineEdit::Normal);
}

void TextField::SetReadOnly(bool value) {
    CheckUIThread();
    readOnly_ = value;
    if (FieldEdit* edit = EditOf(Native()))
        edit->setReadOnly(value);
}

void TextField::SetUseFocusRing(bool value) {
    CheckUIThread();
    useFocusRing_ = value;
    if (FieldEdit* edit = EditOf(Native()))
        edit->setAttribute(Qt::WA_MacShowFocusRect, value);
}

void TextField::SetBackColor(Color value) {
    CheckUIThread();
    backColor_ = value;
    backColorSet_ = true;
    if (FieldEdit* edit = EditOf(Native()))
        SetRoleColor(*edit, QPalette::Base, value);
}

void TextField::SetTextColor(Color value) {
    CheckUIThread();
    textColor_ = value;
    textColorSet_ = true;
    if (FieldEdit* edit = EditOf(Native()))
        SetRoleColor(*edit, QPalette::Text, value);
}

void TextField::SetCueText(const String& value) {
    CheckUIThread();
    cueText_ = value;
    if (FieldEdit* edit = EditOf(Native()))
        edit->setPlaceholderText(ToQt(value));
}

void TextField::SetFormat(const String& value) {
    CheckUIThread();
    format_ = value;
}

void TextField::SetMask(const String& value) {
    CheckUIThread();
    mask_ = value;
}

void TextField::SetDataSource(const String& value) {
    CheckUIThread();
    dataSource_ = value;
}

void TextField::SetDataField(const String& value) {
    CheckUIThread();
    dataField_ = value;
}

} // namespace Ovelund
