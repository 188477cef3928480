#pragma once
// A single-line text field.
//
// Events: SelChange when the insertion point or the selection moves, TextChange whenever the text changes,
// by the user's editing or by SetText. A change the user makes is raised from the toolkit's event dispatch;
// a change the program makes (SetText, SetSelStart) is raised before the setter returns, so what a handler
// throws reaches the code that made the change. The class declares no other events of its own.
//
// Positions count characters (code points) from the start of the text: SelStart is the number of
// characters before the insertion point, or before the selection when there is one. SetSelStart takes any
// value and clamps it into 0 .. the text's length; it places the insertion point and clears the selection.
//
// Text given to the field that is not well-formed UTF-8 is shown, and read back from Text, with a
// replacement character for each malformed sequence.
//
// Alignment: 0 (the default) and 1 left, 2 centred, 3 right; any other value is left. LimitText is the most
// characters the field takes, counted in UTF-16 code units as the toolkit counts them, also for SetText;
// 0 or below means no limit. AcceptTabs True makes Tab type a tab character instead of moving the focus.
// TextColor and BackColor take effect once set; until then the field keeps the platform's colours, and a
// disabled field keeps the platform's disabled look. UseFocusRing is passed to the toolkit, which draws
// focus rings only on some platforms. Format, Mask, DataSource and DataField are kept for the program to
// read; the field applies no display format, no input mask and no data binding.

#include "framework/controls/TextEdit.h"
#include "framework/core/Color.h"

#include <cstdint>
#include <utility>

namespace Ovelund {

class TextField : public TextEdit {
    OVELUND_OBJECT
public:
    enum Event : int { EventSelChange = 20, EventTextChange = 21 };
    // The Alignment codes, as the designs store them.
    enum class Align : std::int32_t { Default = 0, Left = 1, Center = 2, Right = 3 };

    const String& Text() const { return text_; }
    void SetText(const String& value);
    std::int32_t SelStart() const;
    void SetSelStart(std::int32_t value);

    std::int32_t Alignment() const { return static_cast<std::int32_t>(alignment_); }
    void SetAlignment(std::int32_t value);
    std::int32_t LimitText() const { return limitText_; }
    void SetLimitText(std::int32_t value);
    bool AcceptTabs() const { return acceptTabs_; }
    void SetAcceptTabs(bool value);
    bool Border() const { return border_; }
    void SetBorder(bool value);
    bool Password() const { return password_; }
    void SetPassword(bool value);
    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool value);
    bool UseFocusRing() const { return useFocusRing_; }
    void SetUseFocusRing(bool value);
    Color BackColor() const { return backColor_; }
    void SetBackColor(Color value);
    Color TextColor() const { return textColor_; }
    void SetTextColor(Color value);
    const String& CueText() const { return cueText_; }
    void SetCueText(const String& value);
    const String& Format() const { return format_; }
    void SetFormat(const String& value);
    const String& Mask() const { return mask_; }
    void SetMask(const String& value);
    const String& DataSource() const { return dataSource_; }
    void SetDataSource(const String& value);
    const String& DataField() const { return dataField_; }
    void SetDataField(const String& value);

protected:
    void CreateWidget(ControlNative& native) override;

private:
    // Runs a change the program makes to the widget and raises the events it caused.
    template <class Change> void ProgramChange(Change&& change);
    void UserChangedText();
    void UserMovedSelection();

    String text_; // as given until the widget exists, then the widget's text
    std::int32_t selStart_ = 0;
    Align alignment_ = Align::Default;
    std::int32_t limitText_ = 0;
    bool acceptTabs_ = false;
    bool border_ = true;
    bool password_ = false;
    bool readOnly_ = false;
    bool useFocusRing_ = true;
    Color backColor_{255, 255, 255};
    bool backColorSet_ = false;
    Color textColor_{0, 0, 0};
    bool textColorSet_ = false;
    String cueText_;
    String format_;
    String mask_;
    String dataSource_;
    String dataField_;
    bool programChange_ = false;
    // The selection last reported, as the toolkit counts it: start and length in UTF-16 code units.
    std::pair<std::int64_t, std::int64_t> selection_{0, 0};
};

} // namespace Ovelund
