#pragma once
// A text label.
//
// Text is always plain text, never markup. A line break in the text (CR, LF or CR LF) starts a new line when
// MultiLine is True, and long lines then wrap at word boundaries; a label that is not MultiLine shows one
// line, on which each line break reads as one blank. Text that is not well-formed UTF-8 is shown with a
// replacement character for each malformed sequence.
//
// TextAlign: 0 left, 1 centred, 2 right; any other value is left. A MultiLine label starts at its top edge,
// a single-line one is centred vertically. TextColor takes effect once set; until then the label keeps the
// platform's text colour. Transparent is kept for the program to read: a label never paints a
// background of its own, so its container's background shows around the text either way (a filled label
// would stand out as a patch on containers that shade their inside, such as group boxes). DataSource and
// DataField are kept for the program to read; labels are not bound to data.

#include "framework/controls/RectControl.h"
#include "framework/core/Color.h"

namespace Ovelund {

class Label : public RectControl {
    OVELUND_OBJECT
public:
    // The TextAlign codes, as the designs store them.
    enum class Align : std::int32_t { Left = 0, Center = 1, Right = 2 };

    const String& Text() const { return text_; }
    void SetText(const String& value);
    std::int32_t TextAlign() const { return static_cast<std::int32_t>(textAlign_); }
    void SetTextAlign(std::int32_t value);
    bool MultiLine() const { return multiLine_; }
    void SetMultiLine(bool value);
    bool Selectable() const { return selectable_; }
    void SetSelectable(bool value);
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool value);
    Color TextColor() const { return textColor_; }
    void SetTextColor(Color value);
    const String& DataSource() const { return dataSource_; }
    void SetDataSource(const String& value);
    const String& DataField() const { return dataField_; }
    void SetDataField(const String& value);

protected:
    void CreateWidget(ControlNative& native) override;

private:
    void ApplyText();
    void ApplyLayout();
    void ApplyLook();

    String text_;
    Align textAlign_ = Align::Left;
    bool multiLine_ = false;
    bool selectable_ = false;
    bool transparent_ = true;
    Color textColor_{0, 0, 0};
    bool textColorSet_ = false;
    String dataSource_;
    String dataField_;
};

} // namespace Ovelund
