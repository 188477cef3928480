#include "framework/qt/ListScrollBar.h"

#include <QRegion>
#include <QStyle>
#include <QStyleOptionSlider>

namespace Ovelund {

ListScrollBar::ListScrollBar(QWidget* parent) : QScrollBar(Qt::Vertical, parent) {}

QRect ListScrollBar::PartRect(QStyle::SubControl part) const {
    QStyleOptionSlider option;
    initStyleOption(&option);
    return style()->subControlRect(QStyle::CC_ScrollBar, &option, part, this);
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
    // Styles draw the handle's outline and shadow a little beyond its rectangle.
    constexpr int kMargin = 3;
    const auto around = [](const QRect& part) {
        return part.adjusted(-kMargin, -kMargin, kMargin, kMargin);
    };
    QRegion changed = QRegion(around(handle_)) + around(PartRect(QStyle::SC_ScrollBarSlider));
    if ((value() == minimum()) != atMinimum_ || (value() == maximum()) != atMaximum_) {
        changed += PartRect(QStyle::SC_ScrollBarSubLine);
        changed += PartRect(QStyle::SC_ScrollBarAddLine);
    }
    if (handle_.isNull())
        changed = rect(); // nothing painted yet at this size
    update(changed);
}

void ListScrollBar::paintEvent(QPaintEvent* event) {
    QScrollBar::paintEvent(event);
    NotePainted();
}

void ListScrollBar::resizeEvent(QResizeEvent* event) {
    QScrollBar::resizeEvent(event);
    handle_ = QRect(); // the next change repaints the whole bar
}

void ListScrollBar::NotePainted() {
    handle_ = PartRect(QStyle::SC_ScrollBarSlider);
    atMinimum_ = value() == minimum();
    atMaximum_ = value() == maximum();
}

} // namespace Ovelund
