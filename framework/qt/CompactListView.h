#pragma once
// The list view behind the Listbox control. Qt's item views lay out and keep a node per row, so appending to
// a long list gets slower as it grows; this view keeps its rows in a RowStore and paints only the rows that
// are visible, which keeps "append a row and scroll to it" at the same cost at row ten and at row a million.
//
// Rows: cells of UTF-8 text, no heading row, one row height for all rows taken from the font. The vertical
// scroll bar's value is the index of the top visible row; there is no horizontal scrolling (columns past the
// right edge are clipped). Text is elided at the right end to fit its column. Wheel scrolling comes from
// QAbstractScrollArea.
//
// Selection: single (one row at most) or multiple. A click selects its row alone and makes it the current
// row and the anchor; in multiple selection Ctrl+click toggles its row and Shift+click selects the rows from
// the anchor to it, replacing the rest (Shift wins over Ctrl). Up, Down, PageUp, PageDown, Home and End move
// the current row and select it alone, or with Shift (multiple selection) select anchor to it; without a
// current row they start from the top visible row. SelectAll (multiple selection) and Copy act as their
// standard keys. A click below the last row, or with another button than the left one, changes nothing.
// The selection is a sorted set of disjoint row ranges, so select-all is one range at any row count;
// appending rows leaves it alone (rows appended after a select-all are not selected) and clear() empties
// it. Selected rows are drawn in the palette's Highlight colours; a disabled list shows no highlight.

#include "framework/core/ColumnAlignment.h"
#include "framework/qt/EditTarget.h"
#include "framework/qt/RowStore.h"

#include <QAbstractScrollArea>
#include <QRegion>
#include <QString>

#include <cstddef>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace Ovelund {

class CompactListView final : public QAbstractScrollArea, public EditTarget {
    Q_OBJECT
public:
    // Rows at least partly inside the viewport: [first, first + count).
    struct RowRange {
        int first = 0;
        int count = 0;
    };

    explicit CompactListView(QWidget* parent = nullptr);

    // Clamped to [1, RowStore::kMaxColumns]; one column by default. See RowStore::SetColumnCount.
    void setColumnCount(int count);
    int columnCount() const { return store_.ColumnCount(); }
    // A comma-separated width per column, each "N%" (percent of the list's width inside its frame, the scroll
    // bar's place included, rounded down), "N" (pixels) or "*" (an equal share of what the others leave,
    // never negative). N is a plain decimal number; percent saturates at 100 and pixels at kMaxColumnPixels.
    // Anything else, and every column the text leaves out, counts as "*"; widths for columns beyond the
    // column count are ignored. "" makes all columns equal.
    void setColumnWidths(const QString& widths);
    // Left edges of the columns in viewport pixels plus the right edge of the last one (columnCount() + 1
    // values, non-decreasing, starting at 0). They stay where they are when the scroll bar shows, which
    // covers the right end of the list; edges may lie past the viewport's right side.
    const std::vector<int>& columnBoundaries() const { return boundaries_; }
    // Out-of-range columns are ignored.
    // `code` is a ColumnAlignment's number; one that no name has draws as Default.
    void setColumnAlignment(int column, int code);
    // Lines between rows and between columns; both off by default.
    void setGridLines(bool horizontal, bool vertical);

    // The store's rules apply: UTF-8 text, out-of-range cells read as "" and are not written.
    int addRow(std::string_view text);
    void setCell(int row, int column, std::string_view text);
    std::string cell(int row, int column) const;
    int rowCount() const { return store_.RowCount(); }
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
    // Paints now, instead of at the next pass of the event loop, what changed in the viewport since it was
    // last painted: the rows and cells set, and the strip that a scroll brought into view (scrolling moves
    // the pixels already painted). Appending a row to a full list and scrolling to it thus paints one row,
    // not the whole list. The scroll bar repaints at the next pass (ListScrollBar.h), once for the new rows
    // and the new position together: painting it here as well would paint it twice for each appended row.
    void refreshNow();

    // Off (single selection) by default. Turning it off keeps the current row selected if it was, and
    // nothing else.
    void setMultipleSelection(bool multiple);
    bool multipleSelection() const { return multipleSelection_; }
    bool isRowSelected(int row) const;
    bool hasSelection() const { return !selection_.empty(); }
    int selectedRowCount() const;
    // Selects every row in multiple selection; does nothing in single selection.
    void selectAll();
    void clearSelection();
    // The row the keyboard moves from; -1 when there is none.
    int currentRow() const { return currentRow_; }

    // The selected rows in order as UTF-8: each row's cells (every column, empty ones too) as they stand,
    // joined by a tab, each row ending with "\n". Only whole rows are taken, as many as fit in `maxBytes`:
    // the first row that would go past it ends the text, so a single row longer than the cap gives "".
    std::string selectedText(std::size_t maxBytes = kMaxCopyBytes) const;
    // Puts selectedText() on the clipboard as plain text; with nothing selected the clipboard is left alone.
    void copySelection();

    // The list takes Copy of the selected rows from the Edit menu.
    bool CanEdit(EditCommand command) const override {
        return command == EditCommand::Copy && hasSelection();
    }
    bool Edit(EditCommand command) override;

    static constexpr int kMaxColumnPixels = 1'000'000;
    // Bounds what one copy takes (and its UTF-16 copy for the clipboard), so that copying a select-all of
    // millions of rows cannot exhaust memory.
    static constexpr std::size_t kMaxCopyBytes = std::size_t{16} << 20;

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void changeEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    struct WidthRule {
        enum Kind { Share, Pixels, Percent } kind = Share;
        double value = 0;
    };

    // What the column widths are measured in: the viewport's width with the scroll bar's place added.
    int listWidth() const;
    int fullyVisibleRows() const;
    int maxTopRow() const;
    void syncScrollRange();
    void updateRowHeight();
    void updateBoundaries();
    void updateCellIfVisible(int row, int column);
    void scheduleScrollRangeSync();
    void ensureScrollRange();
    // Asks for `area` of the viewport to be painted and notes it for refreshNow().
    void invalidate(const QRect& area);
    void invalidateAll();
    void selectOnly(int row);
    void selectFromAnchorTo(int row);
    void addToSelection(int first, int end);
    void removeFromSelection(int first, int end);
    // Makes `row` current: selected alone, or anchor to it when `extend` (multiple selection only).
    void moveCurrentTo(int row, bool extend);

    RowStore store_;
    std::vector<WidthRule> widthRules_;
    std::vector<int> boundaries_;
    std::vector<ColumnAlignment> alignments_;
    int rowHeight_ = 1;
    bool horizontalGrid_ = false;
    bool verticalGrid_ = false;
    // Selected rows [first, end), keyed by first: disjoint, never adjacent, inside [0, rowCount()).
    std::map<int, int> selection_;
    int currentRow_ = -1;
    int anchorRow_ = -1;
    bool multipleSelection_ = false;
    // What the viewport needs painted since its last paint.
    QRegion pending_;
    // Rows were added since the scroll bar's range was last set.
    bool scrollRangeStale_ = false;
};

} // namespace Ovelund
