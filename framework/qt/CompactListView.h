#pragma once
// The list view behind the Listbox control. Qt's item views lay out and keep a node per row, so appending to
// a long list gets slower as it grows; this view keeps its rows in a RowStore and paints only the rows that
// are visible, which keeps "append a row and scroll to it" at the same cost at row ten and at row a million.
//
// Rows: cells of UTF-8 text, no heading row, one row height for all rows taken from the font. The vertical
// scroll bar's value is the index of the top visible row; there is no horizontal scrolling (columns past the
// right edge are clipped). Text is elided at the right end to fit its column. Keyboard and wheel scrolling
// come from QAbstractScrollArea; there is no selection.

#include "framework/qt/RowStore.h"

#include <QAbstractScrollArea>
#include <QString>

#include <string>
#include <string_view>
#include <vector>

namespace Ovelund {

class CompactListView final : public QAbstractScrollArea {
    Q_OBJECT
public:
    // Alignment codes of setColumnAlignment(). Decimal alignment is drawn as right alignment: every cell of a
    // column of numbers then lines up its last digit. Any other code means AlignDefault.
    enum Alignment : int {
        AlignDefault = 0,
        AlignLeft = 1,
        AlignCenter = 2,
        AlignRight = 3,
        AlignDecimal = 4
    };

    // Rows at least partly inside the viewport: [first, first + count).
    struct RowRange {
        int first = 0;
        int count = 0;
    };

    explicit CompactListView(QWidget* parent = nullptr);

    // Clamped to [1, RowStore::kMaxColumns]; one column by default. See RowStore::setColumnCount.
    void setColumnCount(int count);
    int columnCount() const { return store_.columnCount(); }
    // A comma-separated width per column, each "N%" (percent of the viewport width, rounded down), "N"
    // (pixels) or "*" (an equal share of what the others leave, never negative). N is a plain decimal number;
    // percent saturates at 100 and pixels at kMaxColumnPixels. Anything else, and every column the text
    // leaves out, counts as "*"; widths for columns beyond the column count are ignored. "" makes all columns
    // equal.
    void setColumnWidths(const QString& spec);
    // Left edges of the columns in viewport pixels plus the right edge of the last one (columnCount() + 1
    // values, non-decreasing, starting at 0). Edges may lie past the viewport's right side.
    const std::vector<int>& columnBoundaries() const { return boundaries_; }
    // Out-of-range columns are ignored.
    void setColumnAlignment(int column, int code);
    // Lines between rows and between columns; both off by default.
    void setGridLines(bool horizontal, bool vertical);

    // The store's rules apply: UTF-8 text, out-of-range cells read as "" and are not written.
    int addRow(std::string_view text);
    void setCell(int row, int column, std::string_view text);
    std::string cell(int row, int column) const;
    int rowCount() const { return store_.rowCount(); }
    void clear();
    const RowStore& store() const { return store_; }

    // Scrolls as little as needed to show `row` entirely (clamped to the existing rows).
    void scrollToRow(int row);
    // Makes `topRow` the top visible row, clamped so that a value past the end shows the last row at the
    // bottom.
    void setScrollPosition(int topRow);
    int scrollPosition() const;
    RowRange visibleRange() const;
    int rowHeight() const { return rowHeight_; }
    // Paints now instead of at the next pass of the event loop.
    void refreshNow();

    static constexpr int kMaxColumnPixels = 1'000'000;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    struct WidthRule {
        enum Kind { Share, Pixels, Percent } kind = Share;
        double value = 0;
    };

    int FullyVisibleRows() const;
    int MaxTopRow() const;
    void SyncScrollRange();
    void UpdateRowHeight();
    void UpdateBoundaries();
    void UpdateCellIfVisible(int row, int column);

    RowStore store_;
    std::vector<WidthRule> widthRules_;
    std::vector<int> boundaries_;
    std::vector<int> alignments_;
    int rowHeight_ = 1;
    bool horizontalGrid_ = false;
    bool verticalGrid_ = false;
};

} // namespace Ovelund
