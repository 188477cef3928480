#include "framework/controls/Listbox.h"

#include "framework/qt/CompactListView.h"
#include "framework/qt/ControlNative.h"
#include "framework/qt/LineBreaks.h"
#include "framework/qt/QtText.h"
#include "framework/qt/RowStore.h"
#include "framework/runtime/UIThread.h"

#include <QFrame>

#include <algorithm>
#include <string_view>

namespace Ovelund {

namespace {
CompactListView* ViewOf(const ControlNative& native) {
    return NativeWidget<CompactListView>(native);
}
} // namespace

const ClassRecord& Listbox::Lookup() {
    static const ClassRecord record =
        ClassBuilder<Listbox>("Listbox", &RectControl::Lookup())
            .Property("ColumnCount", &Listbox::SetColumnCount, &Listbox::ColumnCount)
            .Property("ColumnWidths", &Listbox::SetColumnWidths, &Listbox::ColumnWidths)
            .Property("HeadingIndex", &Listbox::SetHeadingIndex, &Listbox::HeadingIndex)
            .Property("GridLinesHorizontal", &Listbox::SetGridLinesHorizontal, &Listbox::GridLinesHorizontal)
            .Property("GridLinesVertical", &Listbox::SetGridLinesVertical, &Listbox::GridLinesVertical)
            .Property("DefaultRowHeight", &Listbox::SetDefaultRowHeight, &Listbox::DefaultRowHeight)
            .Property("SelectionType", &Listbox::SetSelectionType, &Listbox::SelectionType)
            .Property("_ScrollWidth", &Listbox::SetScrollWidth, &Listbox::ScrollWidth)
            .Property("_ScrollOffset", &Listbox::SetScrollOffset, &Listbox::ScrollOffset)
            .Property("Border", &Listbox::SetBorder, &Listbox::Border)
            .Property("HasHeading", &Listbox::SetHasHeading, &Listbox::HasHeading)
            .Property("UseFocusRing", &Listbox::SetUseFocusRing, &Listbox::UseFocusRing)
            .Property("ScrollBarHorizontal", &Listbox::SetScrollBarHorizontal, &Listbox::ScrollBarHorizontal)
            .Property("ScrollBarVertical", &Listbox::SetScrollBarVertical, &Listbox::ScrollBarVertical)
            .Property("Hierarchical", &Listbox::SetHierarchical, &Listbox::Hierarchical)
            .Property("EnableDrag", &Listbox::SetEnableDrag, &Listbox::EnableDrag)
            .Property("EnableDragReorder", &Listbox::SetEnableDragReorder, &Listbox::EnableDragReorder)
            .Property("RequiresSelection", &Listbox::SetRequiresSelection, &Listbox::RequiresSelection)
            .Property("ColumnsResizable", &Listbox::SetColumnsResizable, &Listbox::ColumnsResizable)
            .Property("AutoHideScrollbars", &Listbox::SetAutoHideScrollbars, &Listbox::AutoHideScrollbars)
            .Property("InitialValue", &Listbox::SetInitialValue, &Listbox::InitialValue)
            .With(&RectControl::FontProperties<Listbox>)
            .Property("DataSource", &Listbox::SetDataSource, &Listbox::DataSource)
            .Property("DataField", &Listbox::SetDataField, &Listbox::DataField)
            .Build();
    return record;
}

void Listbox::CreateWidget(ControlNative& native) {
    auto* view = new CompactListView(native.parent);
    native.widget = view;
    view->setColumnCount(columnCount_);
    view->setColumnWidths(ToQt(columnWidths_));
    for (std::size_t column = 0; column < columnAlignments_.size(); ++column)
        view->setColumnAlignment(static_cast<int>(column), static_cast<int>(columnAlignments_[column]));
    view->setGridLines(gridLinesHorizontal_ != 0, gridLinesVertical_ != 0);
    view->setMultipleSelection(selectionType_ == 1);
    view->setFrameShape(border_ ? QFrame::StyledPanel : QFrame::NoFrame);
    view->setAttribute(Qt::WA_MacShowFocusRect, useFocusRing_);
    ApplyScrollBars();
    AddInitialRows(initialValue_);
}

void Listbox::RepaintNow() {
    if (CompactListView* view = ViewOf(Native()))
        view->refreshNow();
}

void Listbox::AddRow(const String& firstColumnText) {
    CheckUIThread();
    CompactListView* view = ViewOf(Native());
    if (!view)
        return;
    const int row = view->addRow(firstColumnText);
    if (row >= 0)
        lastIndex_ = row;
}

void Listbox::AddRow(const std::vector<String>& cells) {
    CheckUIThread();
    CompactListView* view = ViewOf(Native());
    if (!view)
        return;
    const int row = view->addRow(cells.empty() ? std::string_view() : std::string_view(cells.front()));
    if (row < 0)
        return;
    lastIndex_ = row;
    const std::size_t columns = std::min(cells.size(), static_cast<std::size_t>(view->columnCount()));
    for (std::size_t column = 1; column < columns; ++column)
        view->setCell(row, static_cast<int>(column), cells[column]);
}

String Listbox::Cell(std::int32_t row, std::int32_t column) const {
    CompactListView* view = ViewOf(Native());
    return view ? view->cell(row, column) : String();
}

void Listbox::SetCell(std::int32_t row, std::int32_t column, const String& text) {
    CheckUIThread();
    if (CompactListView* view = ViewOf(Native()))
        view->setCell(row, column, text);
}

std::int32_t Listbox::ListCount() const {
    CompactListView* view = ViewOf(Native());
    return view ? view->rowCount() : 0;
}

void Listbox::DeleteAllRows() {
    CheckUIThread();
    lastIndex_ = -1;
    if (CompactListView* view = ViewOf(Native()))
        view->clear();
}

std::int32_t Listbox::ScrollPosition() const {
    CompactListView* view = ViewOf(Native());
    return view ? view->scrollPosition() : 0;
}

void Listbox::SetScrollPosition(std::int32_t row) {
    CheckUIThread();
    if (CompactListView* view = ViewOf(Native()))
        view->setScrollPosition(row);
}

std::int32_t Listbox::ColumnAlignment(std::int32_t column) const {
    if (column < 0 || column >= columnCount_)
        return static_cast<std::int32_t>(Ovelund::ColumnAlignment::Default);
    return static_cast<std::int32_t>(columnAlignments_[static_cast<std::size_t>(column)]);
}

void Listbox::SetColumnAlignment(std::int32_t column, std::int32_t code) {
    CheckUIThread();
    if (column < 0 || column >= columnCount_)
        return;
    columnAlignments_[static_cast<std::size_t>(column)] = static_cast<Ovelund::ColumnAlignment>(code);
    if (CompactListView* view = ViewOf(Native()))
        view->setColumnAlignment(column, code);
}

void Listbox::SetColumnCount(std::int32_t value) {
    CheckUIThread();
    columnCount_ = std::clamp<std::int32_t>(value, 1, RowStore::kMaxColumns);
    columnAlignments_.resize(static_cast<std::size_t>(columnCount_), Ovelund::ColumnAlignment::Default);
    if (CompactListView* view = ViewOf(Native()))
        view->setColumnCount(columnCount_);
}

void Listbox::SetColumnWidths(const String& value) {
    CheckUIThread();
    columnWidths_ = value;
    if (CompactListView* view = ViewOf(Native()))
        view->setColumnWidths(ToQt(value));
}

void Listbox::SetGridLinesHorizontal(std::int32_t value) {
    CheckUIThread();
    gridLinesHorizontal_ = value;
    if (CompactListView* view = ViewOf(Native()))
        view->setGridLines(gridLinesHorizontal_ != 0, gridLinesVertical_ != 0);
}

void Listbox::SetGridLinesVertical(std::int32_t value) {
    CheckUIThread();
    gridLinesVertical_ = value;
    if (CompactListView* view = ViewOf(Native()))
        view->setGridLines(gridLinesHorizontal_ != 0, gridLinesVertical_ != 0);
}

void Listbox::SetBorder(bool value) {
    CheckUIThread();
    border_ = value;
    if (CompactListView* view = ViewOf(Native()))
        view->setFrameShape(value ? QFrame::StyledPanel : QFrame::NoFrame);
}

void Listbox::SetUseFocusRing(bool value) {
    CheckUIThread();
    useFocusRing_ = value;
    if (CompactListView* view = ViewOf(Native()))
        view->setAttribute(Qt::WA_MacShowFocusRect, value);
}

void Listbox::SetScrollBarVertical(bool value) {
    CheckUIThread();
    scrollBarVertical_ = value;
    ApplyScrollBars();
}

void Listbox::SetAutoHideScrollbars(bool value) {
    CheckUIThread();
    autoHideScrollbars_ = value;
    ApplyScrollBars();
}

void Listbox::ApplyScrollBars() {
    CompactListView* view = ViewOf(Native());
    if (!view)
        return;
    Qt::ScrollBarPolicy policy = Qt::ScrollBarAlwaysOff;
    if (scrollBarVertical_)
        policy = autoHideScrollbars_ ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOn;
    view->setVerticalScrollBarPolicy(policy);
}

void Listbox::SetInitialValue(const String& value) {
    CheckUIThread();
    initialValue_ = value;
    AddInitialRows(value);
}

void Listbox::AddInitialRows(const String& value) {
    CompactListView* view = ViewOf(Native());
    if (!view || value.empty())
        return;
    const String lines = WithUniformLineBreaks(std::string_view(value));
    const std::string_view text(lines);
    std::size_t at = 0;
    while (at < text.size()) {
        std::size_t end = text.find('\n', at);
        if (end == std::string_view::npos)
            end = text.size();
        std::vector<String> cells;
        const std::string_view line = text.substr(at, end - at);
        for (std::size_t cell = 0;;) {
            const std::size_t tab = line.find('\t', cell);
            cells.emplace_back(line.substr(cell, tab == std::string_view::npos ? line.npos : tab - cell));
            if (tab == std::string_view::npos)
                break;
            cell = tab + 1;
        }
        AddRow(cells);
        // A break at the very end starts no further row.
        at = end + 1;
    }
}

void Listbox::SetHasHeading(bool value) {
    CheckUIThread();
    hasHeading_ = value;
}
void Listbox::SetHeadingIndex(std::int32_t value) {
    CheckUIThread();
    headingIndex_ = value;
}
void Listbox::SetScrollBarHorizontal(bool value) {
    CheckUIThread();
    scrollBarHorizontal_ = value;
}
void Listbox::SetDefaultRowHeight(std::int32_t value) {
    CheckUIThread();
    defaultRowHeight_ = value;
}
void Listbox::SetSelectionType(std::int32_t value) {
    CheckUIThread();
    selectionType_ = value;
    if (CompactListView* view = ViewOf(Native()))
        view->setMultipleSelection(value == 1);
}
void Listbox::SetHierarchical(bool value) {
    CheckUIThread();
    hierarchical_ = value;
}
void Listbox::SetEnableDrag(bool value) {
    CheckUIThread();
    enableDrag_ = value;
}
void Listbox::SetEnableDragReorder(bool value) {
    CheckUIThread();
    enableDragReorder_ = value;
}
void Listbox::SetRequiresSelection(bool value) {
    CheckUIThread();
    requiresSelection_ = value;
}
void Listbox::SetColumnsResizable(bool value) {
    CheckUIThread();
    columnsResizable_ = value;
}
void Listbox::SetScrollWidth(std::int32_t value) {
    CheckUIThread();
    scrollWidth_ = value;
}
void Listbox::SetScrollOffset(std::int32_t value) {
    CheckUIThread();
    scrollOffset_ = value;
}
void Listbox::SetDataSource(const String& value) {
    CheckUIThread();
    dataSource_ = value;
}
void Listbox::SetDataField(const String& value) {
    CheckUIThread();
    dataField_ = value;
}

} // namespace Ovelund
