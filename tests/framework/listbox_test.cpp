// Lists over real widgets: the design reaching the view, rows and cells with access out of range, the scroll
// position, the immediate refresh, column alignment and a list not yet constructed.

#include "ControlFixture.h"

#include "framework/controls/Listbox.h"
#include "framework/core/SetProperties.h"
#include "framework/qt/CompactListView.h"

#include <QCoreApplication>
#include <QEvent>
#include <QFrame>
#include <QObject>

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

using namespace Ovelund;
using namespace testing_support;
namespace d = Ovelund::design;

namespace {

TEST_F(ControlsTest, ListboxDesignReachesItsView) {
    auto list = Make<Listbox>(
        "ListBox1",
        OVELUND_DESIGN_BLOCK(
            d::Int32{"Left", 20}, d::Int32{"Top", 34}, d::Int32{"Width", 300}, d::Int32{"Height", 200},
            d::Boolean{"Border", true}, d::Int32{"ColumnCount", 3}, d::String{"ColumnWidths", "30%,40%,30%"},
            d::Boolean{"HasHeading", false}, d::Boolean{"UseFocusRing", false}, d::String{"InitialValue", ""},
            d::Int32{"HeadingIndex", -1}, d::Boolean{"ScrollbarHorizontal", false},
            d::Boolean{"ScrollBarVertical", true}, d::Int32{"GridLinesHorizontal", 2},
            d::Int32{"GridLinesVertical", 2}, d::Int32{"DefaultRowHeight", -1}, d::Int32{"_ScrollWidth", -1},
            d::Int32{"_ScrollOffset", 0}, d::String{"TextFont", "System"}, d::Boolean{"Bold", false},
            d::Boolean{"Hierarchical", false}, d::Boolean{"EnableDrag", false},
            d::Boolean{"EnableDragReorder", false}, d::Boolean{"RequiresSelection", false},
            d::Int32{"SelectionType", 1}, d::Boolean{"ColumnsResizable", false},
            d::Boolean{"AutoHideScrollbars", true}));
    auto* view = WidgetOf<CompactListView>(*list);
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->geometry(), QRect(20, 34, 300, 200));
    EXPECT_EQ(view->columnCount(), 3);
    EXPECT_EQ(list->ColumnCount(), 3);
    const std::vector<int>& edges = view->columnBoundaries();
    ASSERT_EQ(edges.size(), 4u);
    const int width = view->viewport()->width();
    EXPECT_EQ(edges[1], width * 30 / 100);
    EXPECT_EQ(edges[2] - edges[1], width * 40 / 100);
    EXPECT_EQ(list->ListCount(), 0);
    EXPECT_EQ(list->LastIndex(), -1);
    EXPECT_EQ(list->ScrollWidth(), -1);
    EXPECT_EQ(list->SelectionType(), 1);
    EXPECT_EQ(view->verticalScrollBarPolicy(), Qt::ScrollBarAsNeeded);
    EXPECT_NE(view->frameShape(), QFrame::NoFrame);

    SetProperties(*list, Int32Entry("ColumnCount", kIntMax) + "AutoHideScrollbars " + char(0));
    EXPECT_EQ(list->ColumnCount(), 256);
    EXPECT_EQ(view->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    SetProperties(*list,
                  Int32Entry("ColumnCount", kIntMin) + "ScrollBarVertical " + char(0) + "Border " + char(0));
    EXPECT_EQ(list->ColumnCount(), 1);
    EXPECT_EQ(view->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    EXPECT_EQ(view->frameShape(), QFrame::NoFrame);
}

TEST_F(ControlsTest, ListboxRowsCellsAndOutOfRangeAccess) {
    auto list =
        Make<Listbox>("ListBox1", OVELUND_DESIGN_BLOCK(d::Int32{"Height", 100}, d::Int32{"ColumnCount", 3}));
    for (int n = 1; n <= 3; ++n) {
        list->AddRow(std::to_string(n));
        list->SetCell(list->LastIndex(), 1, std::to_string(n * 7));
        EXPECT_EQ(list->LastIndex(), n - 1);
        EXPECT_EQ(list->ListCount(), n);
    }
    list->SetCell(2, 2, "\xff gap");
    EXPECT_EQ(list->Cell(0, 0), "1");
    EXPECT_EQ(list->Cell(1, 1), "14");
    EXPECT_EQ(list->Cell(2, 2), "\xff gap");
    EXPECT_EQ(list->Cell(0, 2), "") << "never set";
    list->AddRow(std::vector<String>{"a", "b", "c", "beyond the last column"});
    EXPECT_EQ(list->LastIndex(), 3);
    EXPECT_EQ(list->Cell(3, 2), "c");

    const std::vector<std::pair<std::int32_t, std::int32_t>> outside = {
        {-1, 0}, {4, 0}, {0, -1}, {0, 3}, {kIntMin, kIntMin}, {kIntMax, kIntMax}, {kIntMax, 0}, {0, kIntMin},
    };
    for (auto [row, column] : outside) {
        SCOPED_TRACE(testing::Message() << row << "," << column);
        list->SetCell(row, column, "ignored");
        EXPECT_EQ(list->Cell(row, column), "");
    }
    EXPECT_EQ(list->ListCount(), 4);

    list->DeleteAllRows();
    EXPECT_EQ(list->ListCount(), 0);
    EXPECT_EQ(list->LastIndex(), -1);
    EXPECT_EQ(list->Cell(0, 0), "");
    list->AddRow("again");
    EXPECT_EQ(list->LastIndex(), 0);

    // InitialValue adds its lines as rows, cells split at tabs.
    list->DeleteAllRows();
    SetProperties(*list, StringEntry("InitialValue", "a\tb\rc\r\nd\n\ne\r"));
    EXPECT_EQ(list->ListCount(), 5);
    EXPECT_EQ(list->Cell(0, 1), "b");
    EXPECT_EQ(list->Cell(2, 0), "d");
    EXPECT_EQ(list->Cell(3, 0), "");
    EXPECT_EQ(list->Cell(4, 0), "e");
}

TEST_F(ControlsTest, ListboxScrollPositionPastTheEndShowsTheLastRow) {
    auto list =
        Make<Listbox>("ListBox1", OVELUND_DESIGN_BLOCK(d::Int32{"Height", 100}, d::Int32{"ColumnCount", 3}));
    auto* view = WidgetOf<CompactListView>(*list);
    ASSERT_NE(view, nullptr);
    for (int n = 0; n < 1000; ++n)
        list->AddRow(std::to_string(n));
    for (std::int32_t position : {list->ListCount(), kIntMax}) {
        list->SetScrollPosition(0);
        list->SetScrollPosition(position);
        const auto range = view->visibleRange();
        EXPECT_GT(list->ScrollPosition(), 0);
        EXPECT_LE(range.first, 999);
        EXPECT_GE(range.first + range.count, 1000);
        EXPECT_LE((999 - list->ScrollPosition() + 1) * view->rowHeight(), view->viewport()->height())
            << "the last row is whole in view";
    }
    list->SetScrollPosition(kIntMin);
    EXPECT_EQ(list->ScrollPosition(), 0);
    list->SetScrollPosition(10);
    EXPECT_EQ(list->ScrollPosition(), 10);
}

// Counts the paint events a widget receives.
class PaintCounter : public QObject {
public:
    int paints = 0;
    bool eventFilter(QObject*, QEvent* event) override {
        paints += event->type() == QEvent::Paint;
        return false;
    }
};

TEST_F(ControlsTest, ListboxRefreshWithTrueRedrawsTheRowsAtOnce) {
    auto list = Make<Listbox>("ListBox1", OVELUND_DESIGN_BLOCK(d::Int32{"Height", 100}));
    auto* view = WidgetOf<CompactListView>(*list);
    ASSERT_NE(view, nullptr);
    QCoreApplication::processEvents();
    PaintCounter counter;
    view->viewport()->installEventFilter(&counter);
    list->AddRow("1");
    list->Refresh(true);
    EXPECT_GE(counter.paints, 1) << "painted before Refresh returned";
}

TEST_F(ControlsTest, ListboxColumnAlignment) {
    auto list = Make<Listbox>("ListBox1", OVELUND_DESIGN_BLOCK(d::Int32{"ColumnCount", 3}));
    for (std::int32_t column = 0; column < 3; ++column)
        list->SetColumnAlignment(column, 2);
    list->SetColumnAlignment(1, 4);
    list->SetColumnAlignment(3, 3);
    list->SetColumnAlignment(kIntMin, 3);
    EXPECT_EQ(list->ColumnAlignment(0), 2);
    EXPECT_EQ(list->ColumnAlignment(1), 4);
    EXPECT_EQ(list->ColumnAlignment(2), 2);
    EXPECT_EQ(list->ColumnAlignment(3), 0);
    EXPECT_EQ(list->ColumnAlignment(kIntMax), 0);
}

TEST_F(ControlsTest, ListboxBeforeConstructionHoldsNoRows) {
    auto list = RuntimeCheckCast<Listbox>(window->New(Listbox::Lookup()));
    list->SetColumnCount(2);
    list->SetColumnAlignment(1, 3);
    list->AddRow("lost");
    EXPECT_EQ(list->ListCount(), 0);
    EXPECT_EQ(list->LastIndex(), -1);
    EXPECT_EQ(list->Cell(0, 0), "");
    list->Constructor();
    auto* view = WidgetOf<CompactListView>(*list);
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->columnCount(), 2);
    EXPECT_EQ(list->ColumnAlignment(1), 3);
}

} // namespace
