#pragma once
// A progress bar showing Value out of Maximum, without a text. Maximum 0 (or below) makes it a busy bar
// that shows activity without a value. Value is kept as set; the bar shows it clamped into 0 .. Maximum.

#include "framework/controls/RectControl.h"

namespace Ovelund {

class ProgressBar : public RectControl {
    OVELUND_OBJECT
public:
    std::int32_t Maximum() const { return maximum_; }
    void SetMaximum(std::int32_t value);
    std::int32_t Value() const { return value_; }
    void SetValue(std::int32_t value);

protected:
    void CreateWidget(ControlNative& native) override;

private:
    void ApplyRange();

    std::int32_t maximum_ = 100;
    std::int32_t value_ = 0;
};

} // namespace Ovelund
