#include "framework/qt/CompactListView.h"

#include "framework/qt/HorizontalAlignment.h"
#include "framework/qt/ListScrollBar.h"
#include "framework/qt/QtText.h"

#include <QClipboard>
#include <QEvent>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QKeySequence>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPalette>
#include <QScrollBar>
#include <QSignalBlocker>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <iterator>

namespace Ovelund {

namespace {
constexpr int kRowPadding = 1;  // above and below the text
constexpr int kCellPadding = 3; // left and right of the text
// A cell wider than this many bytes of text cannot be seen whole in any column; cutting it first keeps the
// cost of eliding a huge cell bounded.
constexpr std::size_t kMaxPaintedBytes = 4096;

const QColor kBackground(Qt::white);
const QColor kDisabledBackground(0xF0, 0xF0, 0xF0);
const QColor kText(Qt::black);
const QColor kDisabledText(0x80, 0x80, 0x80);
const QColor kGrid(0xC8, 0xC8, 0xC8);

QString PaintedText(std::string_view text) {
    if (text.size() > kMaxPaintedBytes) {
        std::size_t length = kMaxPaintedBytes;
        while (length > 0 && (static_cast<unsigned char>(text[length]) & 0xC0) == 0x80) {
            --length;
        }
        text = text.substr(0, length);
    }
    return ToQt(text);
}

// A plain decimal number ("12", "33.5"): no sign, exponent, or words like "inf", so the result is always
// finite and non-negative. Returns -1 for anything else.
double ParseAmount(QStringView text) {
    text = text.trimmed();
    if (text.isEmpty() || text.front() == u'.' || text.back() == u'.') {
        return -1;
    }
    int dots = 0;
    for (QChar c : text) {
        if (c == u'.') {
            ++dots;
        } else if (c < u'0' || c > u'9') {
            return -1;
        }
    }
    if (dots > 1) {
        return -1;
    }
    bool ok = false;
    const double value = text.toDouble(&ok);
    // Only overflow fails here (the text is digits): saturate.
    return ok && std::isfinite(value) ? value : static_cast<double>(CompactListView::kMaxColumnPixels);
}
} // namespace

CompactListView::CompactListView(QWidget* parent) : QAbstractScrollArea(parent), store_(1) {
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBar(new ListScrollBar(this));
    // paintEvent covers every pixel it is asked for.
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    // A click gives the list the keyboard focus, so that its keys and Copy act on it.
    setFocusPolicy(Qt::StrongFocus);
    alignments_.assign(1, ColumnAlignment::Default);
    updateRowHeight();
    updateBoundaries();
    syncScrollRange();
}

void CompactListView::setColumnCount(int count) {
    store_.SetColumnCount(count);
    alignments_.resize(static_cast<std::size_t>(store_.ColumnCount()), ColumnAlignment::Default);
    updateBoundaries();
    invalidateAll();
}

void CompactListView::setColumnWidths(const QString& widths) {
    widthRules_.clear();
    if (!widths.trimmed().isEmpty()) {
        for (QStringView item : QStringView(widths).split(u',')) {
            if (static_cast<int>(widthRules_.size()) == RowStore::kMaxColumns) {
                break;
            }
            item = item.trimmed();
            WidthRule rule;
            if (item.endsWith(u'%')) {
                if (const double percent = ParseAmount(item.chopped(1)); percent >= 0) {
                    rule = {WidthRule::Percent, std::min(percent, 100.0)};
                }
            } else if (const double pixels = ParseAmount(item); pixels >= 0) {
                rule = {WidthRule::Pixels, std::min(pixels, static_cast<double>(kMaxColumnPixels))};
            }
            widthRules_.push_back(rule);
        }
    }
    updateBoundaries();
    invalidateAll();
}

void CompactListView::setColumnAlignment(int column, int code) {
    if (column < 0 || column >= columnCount()) {
        return;
    }
    alignments_[static_cast<std::size_t>(column)] = static_cast<ColumnAlignment>(code);
    invalidateAll();
}

void CompactListView::setGridLines(bool horizontal, bool vertical) {
    horizontalGrid_ = horizontal;
    verticalGrid_ = vertical;
    invalidateAll();
}

int CompactListView::addRow(std::string_view text) {
    const int row = store_.AddRow(text);
    if (row >= 0) {
        scheduleScrollRangeSync();
        updateCellIfVisible(row, -1);
    }
    return row;
}

// The scroll bar learns of new rows at the next pass of the event loop, or as soon as anything asks where the
// list stands: rows appended and then scrolled to within one handler change the bar once, so it is painted
// once, at the pass after the handler, and an immediate refresh of the rows before the scroll does not paint
// the bar as well.
void CompactListView::scheduleScrollRangeSync() {
    if (scrollRangeStale_)
        return;
    // The first rows beyond the viewport make the bar appear, which changes the viewport's width: at once.
    if (verticalScrollBar()->maximum() == 0) {
        syncScrollRange();
        return;
    }
    scrollRangeStale_ = true;
    QMetaObject::invokeMethod(
        this, [this] { ensureScrollRange(); }, Qt::QueuedConnection);
}

void CompactListView::ensureScrollRange() {
    if (scrollRangeStale_)
        syncScrollRange();
}

void CompactListView::setCell(int row, int column, std::string_view text) {
    store_.SetCell(row, column, text);
    updateCellIfVisible(row, column);
}

std::string CompactListView::cell(int row, int column) const {
    return std::string(store_.Cell(row, column));
}

void CompactListView::clear() {
    store_.Clear();
    selection_.clear();
    currentRow_ = -1;
    anchorRow_ = -1;
    syncScrollRange();
    verticalScrollBar()->setValue(0);
    invalidateAll();
}

void CompactListView::scrollToRow(int row) {
    if (rowCount() == 0) {
        return;
    }
    row = std::clamp(row, 0, rowCount() - 1);
    const int top = scrollPosition();
    if (row < top) {
        setScrollPosition(row);
    } else if (row - top >= fullyVisibleRows()) {
        setScrollPosition(row - fullyVisibleRows() + 1);
    }
}

void CompactListView::setScrollPosition(int topRow) {
    ensureScrollRange();
    // A value change reaches scrollContentsBy.
    verticalScrollBar()->setValue(std::clamp(topRow, 0, maxTopRow()));
}

int CompactListView::scrollPosition() const {
    // Valid while the range waits: rows are only ever added before a sync, which never lowers the maximum.
    return verticalScrollBar()->value();
}

CompactListView::RowRange CompactListView::visibleRange() const {
    const int top = scrollPosition();
    const int inViewport = (viewport()->height() + rowHeight_ - 1) / rowHeight_;
    return {top, std::clamp(rowCount() - top, 0, inViewport)};
}

void CompactListView::refreshNow() {
    if (!pending_.isEmpty())
        viewport()->repaint(pending_);
}

void CompactListView::invalidate(const QRect& area) {
    pending_ += area.intersected(viewport()->rect());
    viewport()->update(area);
}

void CompactListView::invalidateAll() {
    invalidate(viewport()->rect());
}

void CompactListView::scrollContentsBy(int, int dy) {
    const int pixels = dy * rowHeight_;
    const QRect all = viewport()->rect();
    if (std::abs(dy) > all.height() / rowHeight_) {
        invalidateAll();
        return;
    }
    // The pixels move with the rows: only the strip that comes into view needs painting, and what was
    // waiting to be painted moves with them.
    pending_.translate(0, pixels);
    pending_ &= all;
    viewport()->scroll(0, pixels);
    pending_ +=
        pixels < 0 ? QRect(0, all.height() + pixels, all.width(), -pixels) : QRect(0, 0, all.width(), pixels);
}

void CompactListView::setMultipleSelection(bool multiple) {
    if (multiple == multipleSelection_) {
        return;
    }
    multipleSelection_ = multiple;
    if (!multiple) {
        const bool keep = isRowSelected(currentRow_);
        selection_.clear();
        if (keep) {
            selection_.emplace(currentRow_, currentRow_ + 1);
        }
        anchorRow_ = currentRow_;
        invalidateAll();
    }
}

bool CompactListView::isRowSelected(int row) const {
    auto after = selection_.upper_bound(row);
    return after != selection_.begin() && row < std::prev(after)->second;
}

int CompactListView::selectedRowCount() const {
    int count = 0;
    for (const auto& [first, end] : selection_) {
        count += end - first; // disjoint ranges inside [0, INT32_MAX): the sum fits
    }
    return count;
}

void CompactListView::selectAll() {
    if (!multipleSelection_ || rowCount() == 0) {
        return;
    }
    selection_.clear();
    selection_.emplace(0, rowCount());
    invalidateAll();
}

void CompactListView::clearSelection() {
    selection_.clear();
    invalidateAll();
}

std::string CompactListView::selectedText(std::size_t maxBytes) const {
    std::string text;
    const int columns = columnCount();
    for (const auto& [first, end] : selection_) {
        for (int row = first; row < end; ++row) {
            // At most 256 cells of at most 1 MiB each: no overflow.
            std::size_t rowBytes = static_cast<std::size_t>(columns);
            for (int column = 0; column < columns; ++column) {
                rowBytes += store_.Cell(row, column).size();
            }
            if (rowBytes > maxBytes - text.size()) {
                return text;
            }
            for (int column = 0; column < columns; ++column) {
                text += store_.Cell(row, column);
                text += column + 1 < columns ? '\t' : '\n';
            }
        }
    }
    return text;
}

bool CompactListView::Edit(EditCommand command) {
    if (command != EditCommand::Copy)
        return false;
    copySelection();
    return true;
}

void CompactListView::copySelection() {
    if (selection_.empty()) {
        return;
    }
    const std::string text = selectedText();
    if (QClipboard* clipboard = QGuiApplication::clipboard()) {
        clipboard->setText(ToQt(text));
    }
}

void CompactListView::selectOnly(int row) {
    selection_.clear();
    selection_.emplace(row, row + 1);
}

void CompactListView::selectFromAnchorTo(int row) {
    if (anchorRow_ < 0 || anchorRow_ >= rowCount()) {
        anchorRow_ = currentRow_ >= 0 && currentRow_ < rowCount() ? currentRow_ : row;
    }
    selection_.clear();
    selection_.emplace(std::min(anchorRow_, row), std::max(anchorRow_, row) + 1);
}

void CompactListView::addToSelection(int first, int end) {
    auto at = selection_.upper_bound(first);
    if (at != selection_.begin() && std::prev(at)->second >= first) {
        at = std::prev(at); // overlaps or touches [first, end): merged below
        first = at->first;
    }
    while (at != selection_.end() && at->first <= end) {
        end = std::max(end, at->second);
        at = selection_.erase(at);
    }
    selection_.emplace_hint(at, first, end);
}

void CompactListView::removeFromSelection(int first, int end) {
    auto at = selection_.lower_bound(first);
    if (at != selection_.begin()) {
        const auto before = std::prev(at); // starts before `first`
        if (before->second > first) {
            const int oldEnd = before->second;
            before->second = first;
            if (oldEnd > end) {
                selection_.emplace_hint(at, end, oldEnd);
                return;
            }
        }
    }
    while (at != selection_.end() && at->first < end) {
        const int oldEnd = at->second;
        at = selection_.erase(at);
        if (oldEnd > end) {
            selection_.emplace_hint(at, end, oldEnd);
            return;
        }
    }
}

void CompactListView::moveCurrentTo(int row, bool extend) {
    if (extend && multipleSelection_) {
        selectFromAnchorTo(row);
    } else {
        selectOnly(row);
        anchorRow_ = row;
    }
    currentRow_ = row;
    scrollToRow(row);
    invalidateAll();
}

int CompactListView::fullyVisibleRows() const {
    return std::max(1, viewport()->height() / rowHeight_);
}

int CompactListView::maxTopRow() const {
    return std::max(0, rowCount() - fullyVisibleRows());
}

void CompactListView::syncScrollRange() {
    scrollRangeStale_ = false;
    QScrollBar* bar = verticalScrollBar();
    const int maximum = maxTopRow();
    const int oldValue = bar->value();
    bar->setPageStep(fullyVisibleRows());
    if ((bar->maximum() > 0) == (maximum > 0)) {
        // QAbstractScrollArea answers every rangeChanged with a queued call that only decides whether the bar
        // is shown. Appending rows changes the range once per row; unblocked, that would queue one event per
        // row until the event loop runs. Only a change between "nothing to scroll" and "something to
        // scroll" needs that answer.
        const QSignalBlocker blocker(bar);
        bar->setRange(0, maximum);
    } else {
        bar->setRange(0, maximum);
    }
    if (bar->value() != oldValue) {
        invalidateAll(); // clamped while its signals were blocked
    }
}

void CompactListView::updateRowHeight() {
    rowHeight_ = std::max(1, QFontMetrics(font()).height() + 2 * kRowPadding);
}

int CompactListView::listWidth() const {
    // The scroll bar takes its place inside the frame: measured without it, the columns would move whenever
    // it shows or hides.
    return std::max(0, width() - 2 * frameWidth());
}

void CompactListView::updateBoundaries() {
    const int columns = columnCount();
    const int width = listWidth();
    std::vector<int> widths(static_cast<std::size_t>(columns), -1); // -1: a share of the rest
    int fixed = 0;
    int shares = 0;
    for (int column = 0; column < columns; ++column) {
        const WidthRule rule = column < static_cast<int>(widthRules_.size())
                                   ? widthRules_[static_cast<std::size_t>(column)]
                                   : WidthRule{};
        int& w = widths[static_cast<std::size_t>(column)];
        if (rule.kind == WidthRule::Pixels) {
            w = static_cast<int>(rule.value);
        } else if (rule.kind == WidthRule::Percent) {
            w = static_cast<int>(std::floor(rule.value * width / 100.0));
        } else {
            ++shares;
            continue;
        }
        // At most 256 columns of 1,000,000 pixels: no overflow.
        fixed += w;
    }
    const int rest = std::max(0, width - fixed);
    int extra = shares > 0 ? rest % shares : 0;
    boundaries_.assign(1, 0);
    for (int w : widths) {
        if (w < 0) {
            w = rest / shares + (extra > 0 ? 1 : 0);
            extra = std::max(0, extra - 1);
        }
        boundaries_.push_back(boundaries_.back() + w);
    }
}

void CompactListView::updateCellIfVisible(int row, int column) {
    const int top = scrollPosition();
    if (row < top || row - top >= visibleRange().count) {
        return;
    }
    QRect area(0, (row - top) * rowHeight_, viewport()->width(), rowHeight_);
    if (column >= 0 && column < columnCount()) {
        const auto c = static_cast<std::size_t>(column);
        area.setLeft(boundaries_[c]);
        area.setRight(boundaries_[c + 1] - 1);
    }
    invalidate(area);
}

void CompactListView::paintEvent(QPaintEvent* event) {
    pending_ -= event->region();
    QPainter painter(viewport());
    const QRect dirty = event->rect();
    const bool enabled = isEnabled();
    painter.fillRect(dirty, enabled ? kBackground : kDisabledBackground);

    const int top = scrollPosition();
    const int firstRow = top + std::max(0, dirty.top()) / rowHeight_;
    const int endRow = std::min(rowCount(), top + std::max(0, dirty.bottom()) / rowHeight_ + 1);
    if (firstRow >= endRow) {
        return;
    }
    painter.setFont(font());
    const QFontMetrics metrics(font());
    const int columns = columnCount();
    const int rowsBottom = (endRow - top) * rowHeight_;

    const QPalette::ColorGroup group = isActiveWindow() ? QPalette::Active : QPalette::Inactive;
    const QColor highlight = palette().color(group, QPalette::Highlight);
    const QColor highlightedText = palette().color(group, QPalette::HighlightedText);
    const QColor plainText = enabled ? kText : kDisabledText;
    bool penHighlighted = false;
    painter.setPen(plainText);
    for (int row = firstRow; row < endRow; ++row) {
        const int y = (row - top) * rowHeight_;
        const bool highlighted = enabled && isRowSelected(row);
        if (highlighted) {
            painter.fillRect(QRect(0, y, viewport()->width(), rowHeight_).intersected(dirty), highlight);
        }
        if (highlighted != penHighlighted) {
            painter.setPen(highlighted ? highlightedText : plainText);
            penHighlighted = highlighted;
        }
        for (int column = 0; column < columns; ++column) {
            const auto c = static_cast<std::size_t>(column);
            // The last column reaches under the scroll bar when one shows; its cells keep their alignment
            // within what stays visible beside the bar.
            const int right =
                column + 1 < columns ? boundaries_[c + 1] : std::min(boundaries_[c + 1], viewport()->width());
            const QRect cellArea(boundaries_[c], y, right - boundaries_[c], rowHeight_);
            if (!cellArea.intersects(dirty)) {
                continue;
            }
            const std::string_view text = store_.Cell(row, column);
            const QRect textArea = cellArea.adjusted(kCellPadding, 0, -kCellPadding, 0);
            if (text.empty() || textArea.width() <= 0) {
                continue;
            }
            const QString shown = metrics.elidedText(PaintedText(text), Qt::ElideRight, textArea.width());
            const int flags =
                static_cast<int>(HorizontalAlignment(alignments_[c]) | Qt::AlignVCenter | Qt::TextSingleLine);
            painter.drawText(textArea, flags, shown);
        }
    }

    // One-pixel rectangles: much cheaper to fill than lines are to stroke.
    if (horizontalGrid_) {
        for (int row = firstRow; row < endRow; ++row) {
            const int y = (row - top + 1) * rowHeight_ - 1;
            painter.fillRect(QRect(dirty.left(), y, dirty.width(), 1), kGrid);
        }
    }
    if (verticalGrid_) {
        const int gridTop = std::max(0, dirty.top());
        const int gridBottom = std::min(dirty.bottom(), rowsBottom - 1);
        for (int column = 0; column + 1 < columns; ++column) {
            const int x = boundaries_[static_cast<std::size_t>(column) + 1] - 1;
            if (x >= dirty.left() && x <= dirty.right() && gridTop <= gridBottom) {
                painter.fillRect(QRect(x, gridTop, 1, gridBottom - gridTop + 1), kGrid);
            }
        }
    }
}

bool CompactListView::event(QEvent* event) {
    // As a text field does: while the list has the focus, its Copy and SelectAll keys act on it even when a
    // menu entry binds the same keys.
    if (event->type() == QEvent::ShortcutOverride) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->matches(QKeySequence::Copy) ||
            (multipleSelection_ && key->matches(QKeySequence::SelectAll))) {
            event->accept();
            return true;
        }
    }
    return QAbstractScrollArea::event(event);
}

void CompactListView::mousePressEvent(QMouseEvent* event) {
    const double y = event->position().y();
    if (event->button() != Qt::LeftButton || !(y >= 0 && y < viewport()->height())) {
        QAbstractScrollArea::mousePressEvent(event);
        return;
    }
    event->accept();
    const std::int64_t row = std::int64_t{scrollPosition()} + static_cast<std::int64_t>(y) / rowHeight_;
    if (row >= rowCount()) {
        return;
    }
    const int clicked = static_cast<int>(row);
    const Qt::KeyboardModifiers modifiers = event->modifiers();
    if (multipleSelection_ && (modifiers & Qt::ShiftModifier)) {
        selectFromAnchorTo(clicked);
    } else if (multipleSelection_ && (modifiers & Qt::ControlModifier)) {
        if (isRowSelected(clicked)) {
            removeFromSelection(clicked, clicked + 1);
        } else {
            addToSelection(clicked, clicked + 1);
        }
        anchorRow_ = clicked;
    } else {
        selectOnly(clicked);
        anchorRow_ = clicked;
    }
    currentRow_ = clicked;
    scrollToRow(clicked);
    invalidateAll();
}

void CompactListView::keyPressEvent(QKeyEvent* event) {
    if (event->matches(QKeySequence::Copy)) {
        copySelection();
        event->accept();
        return;
    }
    if (multipleSelection_ && event->matches(QKeySequence::SelectAll)) {
        selectAll();
        event->accept();
        return;
    }
    const int rows = rowCount();
    const bool hasCurrent = currentRow_ >= 0 && currentRow_ < rows;
    const std::int64_t from = hasCurrent ? currentRow_ : scrollPosition();
    const std::int64_t page = fullyVisibleRows();
    std::int64_t target = 0;
    switch (event->key()) {
    case Qt::Key_Up:
        target = hasCurrent ? from - 1 : from;
        break;
    case Qt::Key_Down:
        target = hasCurrent ? from + 1 : from;
        break;
    case Qt::Key_PageUp:
        target = hasCurrent ? from - page : from;
        break;
    case Qt::Key_PageDown:
        target = hasCurrent ? from + page : from;
        break;
    case Qt::Key_Home:
        target = 0;
        break;
    case Qt::Key_End:
        target = std::int64_t{rows} - 1;
        break;
    default:
        QAbstractScrollArea::keyPressEvent(event);
        return;
    }
    event->accept();
    if (rows == 0) {
        return;
    }
    moveCurrentTo(static_cast<int>(std::clamp<std::int64_t>(target, 0, rows - 1)),
                  (event->modifiers() & Qt::ShiftModifier) != 0);
}

void CompactListView::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    updateBoundaries();
    syncScrollRange();
}

void CompactListView::changeEvent(QEvent* event) {
    QAbstractScrollArea::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        updateRowHeight();
        syncScrollRange();
        invalidateAll();
    } else if (event->type() == QEvent::EnabledChange || event->type() == QEvent::ActivationChange ||
               event->type() == QEvent::PaletteChange) {
        invalidateAll();
    }
}

} // namespace Ovelund
