#include "framework/qt/ListScrollBar.h"

#include <QPaintEvent>
#include <QStyleOptionSlider>

namespace Ovelund {

ListScrollBar::ListScrollBar(QWidget* parent) : QScrollBar(Qt::Vertical, parent) {}

QRect ListScrollBar::PartRect(QStyle::SubControl part) const {
    QStyleOptionSlider option;
    initStyleOption(&option);
    return style()->subControlRect(QStyle::CC_ScrollBar, &option, part, this);
}

QRect ListScrollBar::HandleFootprint() const {
    constexpr int kMargin = 3;
    return PartRect(QStyle::SC_ScrollBarSlider).adjusted(-kMargin, -kMargin, kMargin, kMargin) & rect();
}

void ListScrollBar::sliderChange(SliderChange change) {
    // A style whose bars fade in and out, or a bar that is being dragged, is left to the stock behaviour.
    if (style()->styleHint(QStyle::SH_ScrollBar_Transient, nullptr, this) || isSliderDown()) {
        QScrollBar::sliderChange(change);
        return;
    }
    (void)change; // a new range, page step or position changes the handle alike
    // Range and position often change one after the other within one handler (rows added, then scrolled to):
    // what changed is judged once the handler is done, so that a state in between paints nothing.
    if (changeQueued_)
        return;
    changeQueued_ = true;
    QMetaObject::invokeMethod(
        this, [this] { UpdateChangedParts(); }, Qt::QueuedConnection);
}

void ListScrollBar::UpdateChangedParts() {
    changeQueued_ = false;
    QRegion changed = handleShown_ + HandleFootprint();
    const bool atMinimum = value() == minimum();
    const bool atMaximum = value() == maximum();
    if (!arrowsKnown_ || atMinimum != arrowsAtMinimum_ || atMaximum != arrowsAtMaximum_) {
        changed += PartRect(QStyle::SC_ScrollBarSubLine);
        changed += PartRect(QStyle::SC_ScrollBarAddLine);
    }
    update(changed);
}

void ListScrollBar::paintEvent(QPaintEvent* event) {
    QScrollBar::paintEvent(event);
    // What this paint covered now shows the bar as it is.
    const QRegion painted = event->region();
    handleShown_ = (handleShown_ - painted) + (QRegion(HandleFootprint()) & painted);
    const QRegion arrows =
        QRegion(PartRect(QStyle::SC_ScrollBarSubLine)) + PartRect(QStyle::SC_ScrollBarAddLine);
    const bool atMinimum = value() == minimum();
    const bool atMaximum = value() == maximum();
    if ((arrows - painted).isEmpty()) {
        arrowsKnown_ = true;
        arrowsAtMinimum_ = atMinimum;
        arrowsAtMaximum_ = atMaximum;
    } else if (arrows.intersects(painted) &&
               (atMinimum != arrowsAtMinimum_ || atMaximum != arrowsAtMaximum_)) {
        arrowsKnown_ = false; // part of them drawn in another state
    }
}

void ListScrollBar::resizeEvent(QResizeEvent* event) {
    QScrollBar::resizeEvent(event);
    // The toolkit repaints a resized bar whole.
    handleShown_ = rect();
    arrowsKnown_ = false;
}

} // namespace Ovelund
