#include "framework/controls/GroupBox.h"

#include "framework/qt/ControlNative.h"
#include "framework/qt/QtText.h"
#include "framework/runtime/UIThread.h"

#include <QGroupBox>

namespace Ovelund {

const ClassRecord& GroupBox::Lookup() {
    static const ClassRecord record = ClassBuilder<GroupBox>("GroupBox", &RectControl::Lookup())
                                          .Property("Caption", &GroupBox::SetCaption, &GroupBox::Caption)
                                          .With(&RectControl::FontProperties<GroupBox>)
                                          .Build();
    return record;
}

void GroupBox::CreateWidget(ControlNative& native) {
    native.widget = new QGroupBox(native.parent);
    ApplyCaption();
}

void GroupBox::ApplyCaption() {
    if (auto* box = NativeWidget<QGroupBox>(Native())) {
        QString shown = ToQt(caption_);
        box->setTitle(shown.replace(QLatin1Char('&'), QStringLiteral("&&")));
    }
}

void GroupBox::SetCaption(const String& value) {
    CheckUIThread();
    caption_ = value;
    ApplyCaption();
}

} // namespace Ovelund
