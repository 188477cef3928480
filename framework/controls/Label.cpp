#include "framework/controls/Label.h"

#include "framework/qt/ControlNative.h"
#include "framework/qt/HorizontalAlignment.h"
#include "framework/qt/LineBreaks.h"
#include "framework/qt/QtText.h"
#include "framework/runtime/UIThread.h"

#include <QLabel>
#include <QPalette>

namespace Ovelund {

namespace {

QString ShownText(const String& text, bool multiLine) {
    QString shown = WithUniformLineBreaks(ToQt(text));
    if (!multiLine)
        shown.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return shown;
}

} // namespace

const ClassRecord& Label::Lookup() {
    static const ClassRecord record =
        ClassBuilder<Label>("Label", &RectControl::Lookup())
            .Property("Text", &Label::SetText, &Label::Text)
            .Property("TextAlign", &Label::SetTextAlign, &Label::TextAlign)
            .Property("MultiLine", &Label::SetMultiLine, &Label::MultiLine)
            .Property("Selectable", &Label::SetSelectable, &Label::Selectable)
            .Property("Transparent", &Label::SetTransparent, &Label::Transparent)
            .Property("TextColor", &Label::SetTextColor, &Label::TextColor)
            .With(&RectControl::FontProperties<Label>)
            .Property("DataSource", &Label::SetDataSource, &Label::DataSource)
            .Property("DataField", &Label::SetDataField, &Label::DataField)
            .Build();
    return record;
}

void Label::CreateWidget(ControlNative& native) {
    auto* label = new QLabel(native.parent);
    label->setTextFormat(Qt::PlainText);
    native.widget = label;
    ApplyText();
    ApplyLayout();
    ApplyLook();
}

void Label::ApplyText() {
    if (auto* label = NativeWidget<QLabel>(Native()))
        label->setText(ShownText(text_, multiLine_));
}

void Label::ApplyLayout() {
    if (auto* label = NativeWidget<QLabel>(Native())) {
        label->setWordWrap(multiLine_);
        label->setAlignment(HorizontalAlignment(textAlign_) | (multiLine_ ? Qt::AlignTop : Qt::AlignVCenter));
    }
}

void Label::ApplyLook() {
    auto* label = NativeWidget<QLabel>(Native());
    if (!label)
        return;
    label->setTextInteractionFlags(selectable_ ? Qt::TextSelectableByMouse : Qt::NoTextInteraction);
    if (textColorSet_) {
        // A disabled label keeps the platform's disabled look.
        QPalette palette = label->palette();
        const QColor color(textColor_.red, textColor_.green, textColor_.blue);
        palette.setColor(QPalette::Active, QPalette::WindowText, color);
        palette.setColor(QPalette::Inactive, QPalette::WindowText, color);
        label->setPalette(palette);
    }
}

void Label::SetText(const String& value) {
    CheckUIThread();
    text_ = value;
    ApplyText();
}

void Label::SetTextAlign(std::int32_t value) {
    CheckUIThread();
    textAlign_ = static_cast<Align>(value);
    ApplyLayout();
}

void Label::SetMultiLine(bool value) {
    CheckUIThread();
    multiLine_ = value;
    ApplyText();
    ApplyLayout();
}

void Label::SetSelectable(bool value) {
    CheckUIThread();
    selectable_ = value;
    ApplyLook();
}

void Label::SetTransparent(bool value) {
    CheckUIThread();
    transparent_ = value;
    ApplyLook();
}

void Label::SetTextColor(Color value) {
    CheckUIThread();
    textColor_ = value;
    textColorSet_ = true;
    ApplyLook();
}

void Label::SetDataSource(const String& value) {
    CheckUIThread();
    dataSource_ = value;
}

void Label::SetDataField(const String& value) {
    CheckUIThread();
    dataField_ = value;
}

} // namespace Ovelund
