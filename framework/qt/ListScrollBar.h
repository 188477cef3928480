#pragma once
// The list's vertical scroll bar. A change of its range or position repaints only the parts that change:
// wherever the screen may still show the handle, where the handle is now, and the step arrows when the bar
// reaches or leaves an end. The stock bar repaints itself whole, which with the default style cost more than
// the rest of a search step.

#include <QRect>
#include <QRegion>
#include <QScrollBar>
#include <QStyle>

namespace Ovelund {

class ListScrollBar final : public QScrollBar {
public:
    explicit ListScrollBar(QWidget* parent = nullptr);

protected:
    void sliderChange(SliderChange change) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QRect PartRect(QStyle::SubControl part) const;
    // The handle's rectangle with the outline and shadow that styles draw a little beyond it.
    QRect HandleFootprint() const;
    void UpdateChangedParts();

    // Where the screen may show handle pixels, of this position or an earlier one: what a paint has drawn of
    // the handle, less what later paints have drawn over.
    QRegion handleShown_;
    // Whether the step arrows were last painted whole at the minimum and at the maximum; unknown after a
    // paint that covered part of them only.
    bool arrowsKnown_ = false;
    bool arrowsAtMinimum_ = false;
    bool arrowsAtMaximum_ = false;
    bool changeQueued_ = false;
};

} // namespace Ovelund
