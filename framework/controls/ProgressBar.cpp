#include "framework/controls/ProgressBar.h"

#include "framework/qt/ControlNative.h"
#include "framework/runtime/UIThread.h"

#include <QProgressBar>

#include <algorithm>

namespace Ovelund {

const ClassRecord& ProgressBar::Lookup() {
    static const ClassRecord record =
        ClassBuilder<ProgressBar>("ProgressBar", &RectControl::Lookup())
            .Property("Maximum", &ProgressBar::SetMaximum, &ProgressBar::Maximum)
            .Property("Value", &ProgressBar::SetValue, &ProgressBar::Value)
            .Build();
    return record;
}

void ProgressBar::CreateWidget(ControlNative& native) {
    auto* bar = new QProgressBar(native.parent);
    bar->setTextVisible(false);
    native.widget = bar;
    ApplyRange();
}

void ProgressBar::ApplyRange() {
    auto* bar = NativeWidget<QProgressBar>(Native());
    if (!bar)
        return;
    const std::int32_t maximum = std::max<std::int32_t>(maximum_, 0);
    bar->setRange(0, maximum); // 0 .. 0 is the toolkit's busy bar
    // The toolkit ignores a value outside its range instead of clamping it.
    bar->setValue(std::clamp<std::int32_t>(value_, 0, maximum));
}

void ProgressBar::SetMaximum(std::int32_t value) {
    CheckUIThread();
    maximum_ = value;
    ApplyRange();
}

void ProgressBar::SetValue(std::int32_t value) {
    CheckUIThread();
    value_ = value;
    ApplyRange();
}

} // namespace Ovelund
