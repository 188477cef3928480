#pragma once
// The list's vertical scroll bar. A change of its range or position repaints only the parts that change: the
// handle where it was and where it is, and the step arrows when the bar reaches or leaves an end. The stock
// bar repaints itself whole, which with the default style costs more than the rest of a search step.

#include <QRect>
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
    void UpdateChangedParts();
    void NotePainted();

    // What the last paint showed.
    QRect handle_;
    bool atMinimum_ = true;
    bool atMaximum_ = true;
    bool changeQueued_ = false;
};

} // namespace Ovelund
