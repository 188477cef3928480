#pragma once
// A list of rows of text cells, for lists that grow to millions of rows: appending a row and scrolling to it
// cost the same at row ten and at row a million.
//
// Rows and columns count from 0. Reading a cell outside the list gives the empty text and writing one does
// nothing. Until the control is constructed it has no rows: AddRow and SetCell do nothing then.
//
// The list shows no heading row (HasHeading and HeadingIndex are kept for the program to read); see below for
// selection. ColumnWidths gives a width per column, separated by commas, each "N%" (of the list's width),
// "N" (pixels) or "*" (an equal share of the rest); columns it leaves out share the rest. GridLinesHorizontal
// and GridLinesVertical 0 draw no lines, any other value thin lines between rows or columns. Column
// alignment codes are those of ColumnAlignment.h. ScrollBarVertical False hides the vertical
// scroll bar; with AutoHideScrollbars True it shows only while there is something to scroll. The list never
// scrolls sideways: columns past its right edge are cut off, whatever ScrollBarHorizontal says.
//
// Rows take their height from the font. DefaultRowHeight, Hierarchical, EnableDrag, EnableDragReorder,
// RequiresSelection, ColumnsResizable, _ScrollWidth, _ScrollOffset, DataSource and DataField
// are kept for the program to read and change nothing on screen. Setting InitialValue appends its rows: one
// row per line (lines end at CR, LF or CR LF), cells separated by tab characters.
//
// SelectionType 1 lets the user select several rows (Ctrl+click, Shift+click, Shift with the arrow keys,
// SelectAll); any other value one row at most. Copy (its key, or the EditCopy menu entry while the list has
// the focus) puts the selected rows on the clipboard: cells joined by tabs, each row ending with a line feed.

#include "framework/controls/RectControl.h"
#include "framework/core/ColumnAlignment.h"

#include <vector>

namespace Ovelund {

class Listbox : public RectControl {
    OVELUND_OBJECT
public:
    // Appends a row whose first cell holds the text (the others are empty); it becomes LastIndex.
    void AddRow(const String& firstColumnText);
    // Appends a row with these cells, from column 0; cells beyond the last column are dropped.
    void AddRow(const std::vector<String>& cells);
    String Cell(std::int32_t row, std::int32_t column) const;
    void SetCell(std::int32_t row, std::int32_t column, const String& text);
    // The index of the row added last, -1 when the list has none.
    std::int32_t LastIndex() const { return lastIndex_; }
    std::int32_t ListCount() const;
    void DeleteAllRows();
    // The top visible row. Setting it is clamped so that a value past the end (such as ListCount) shows the
    // last row at the bottom of the list.
    std::int32_t ScrollPosition() const;
    void SetScrollPosition(std::int32_t row);
    // The alignment code of a column (a ColumnAlignment's number); 0 for a column the list does not have,
    // whose setting is ignored.
    std::int32_t ColumnAlignment(std::int32_t column) const;
    void SetColumnAlignment(std::int32_t column, std::int32_t code);
    void SetColumnAlignment(std::int32_t column, Ovelund::ColumnAlignment alignment) {
        SetColumnAlignment(column, static_cast<std::int32_t>(alignment));
    }

    // Clamped to 1 .. 256 columns.
    std::int32_t ColumnCount() const { return columnCount_; }
    void SetColumnCount(std::int32_t value);
    const String& ColumnWidths() const { return columnWidths_; }
    void SetColumnWidths(const String& value);
    std::int32_t GridLinesHorizontal() const { return gridLinesHorizontal_; }
    void SetGridLinesHorizontal(std::int32_t value);
    std::int32_t GridLinesVertical() const { return gridLinesVertical_; }
    void SetGridLinesVertical(std::int32_t value);
    bool Border() const { return border_; }
    void SetBorder(bool value);
    bool UseFocusRing() const { return useFocusRing_; }
    void SetUseFocusRing(bool value);
    bool ScrollBarVertical() const { return scrollBarVertical_; }
    void SetScrollBarVertical(bool value);
    bool AutoHideScrollbars() const { return autoHideScrollbars_; }
    void SetAutoHideScrollbars(bool value);
    const String& InitialValue() const { return initialValue_; }
    void SetInitialValue(const String& value);

    bool HasHeading() const { return hasHeading_; }
    void SetHasHeading(bool value);
    std::int32_t HeadingIndex() const { return headingIndex_; }
    void SetHeadingIndex(std::int32_t value);
    bool ScrollBarHorizontal() const { return scrollBarHorizontal_; }
    void SetScrollBarHorizontal(bool value);
    std::int32_t DefaultRowHeight() const { return defaultRowHeight_; }
    void SetDefaultRowHeight(std::int32_t value);
    std::int32_t SelectionType() const { return selectionType_; }
    void SetSelectionType(std::int32_t value);
    bool Hierarchical() const { return hierarchical_; }
    void SetHierarchical(bool value);
    bool EnableDrag() const { return enableDrag_; }
    void SetEnableDrag(bool value);
    bool EnableDragReorder() const { return enableDragReorder_; }
    void SetEnableDragReorder(bool value);
    bool RequiresSelection() const { return requiresSelection_; }
    void SetRequiresSelection(bool value);
    bool ColumnsResizable() const { return columnsResizable_; }
    void SetColumnsResizable(bool value);
    // The design's _ScrollWidth and _ScrollOffset.
    std::int32_t ScrollWidth() const { return scrollWidth_; }
    void SetScrollWidth(std::int32_t value);
    std::int32_t ScrollOffset() const { return scrollOffset_; }
    void SetScrollOffset(std::int32_t value);
    const String& DataSource() const { return dataSource_; }
    void SetDataSource(const String& value);
    const String& DataField() const { return dataField_; }
    void SetDataField(const String& value);

protected:
    void CreateWidget(ControlNative& native) override;
    // Paints only what changed since the list was last painted (see CompactListView::refreshNow).
    void RepaintNow() override;

private:
    void ApplyScrollBars();
    void AddInitialRows(const String& value);

    std::int32_t lastIndex_ = -1;
    std::int32_t columnCount_ = 1;
    std::vector<Ovelund::ColumnAlignment> columnAlignments_ =
        std::vector<Ovelund::ColumnAlignment>(1, Ovelund::ColumnAlignment::Default);
    String columnWidths_;
    std::int32_t gridLinesHorizontal_ = 0;
    std::int32_t gridLinesVertical_ = 0;
    bool border_ = true;
    bool useFocusRing_ = true;
    bool scrollBarVertical_ = true;
    bool autoHideScrollbars_ = true;
    String initialValue_;
    bool hasHeading_ = false;
    std::int32_t headingIndex_ = -1;
    bool scrollBarHorizontal_ = false;
    std::int32_t defaultRowHeight_ = -1;
    std::int32_t selectionType_ = 0;
    bool hierarchical_ = false;
    bool enableDrag_ = false;
    bool enableDragReorder_ = false;
    bool requiresSelection_ = false;
    bool columnsResizable_ = false;
    std::int32_t scrollWidth_ = -1;
    std::int32_t scrollOffset_ = 0;
    String dataSource_;
    String dataField_;
};

} // namespace Ovelund
