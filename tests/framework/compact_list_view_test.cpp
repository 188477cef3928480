#include "framework/qt/CompactListView.h"
#include "framework/qt/RowStore.h"
#include "support/Wait.h"

#include <QApplication>
#include <QBackingStore>
#include <QEvent>
#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QPaintEvent>
#include <QPixmap>
#include <QScrollBar>

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

using namespace Ovelund;
using testing_support::Settle;

namespace {

struct ShownView {
    ShownView(int width, int height, int columns, bool framed = true) {
        if (!framed) {
            view.setFrameShape(QFrame::NoFrame);
        }
        view.setColumnCount(columns);
        view.resize(width, height);
        view.show();
        Settle();
    }
    CompactListView view;
};

std::string Text(const char* prefix, int value) {
    return prefix + std::to_string(value);
}

// Pixels darker than `threshold` inside `area`, with their horizontal extent and the darkest grey seen.
struct Ink {
    int count = 0;
    int left = INT_MAX;
    int right = -1;
    int darkest = 255;
};

Ink InkIn(const QImage& image, const QRect& area, int threshold = 160) {
    Ink ink;
    const QRect inside = area.intersected(image.rect());
    for (int y = inside.top(); y <= inside.bottom(); ++y) {
        for (int x = inside.left(); x <= inside.right(); ++x) {
            const int grey = qGray(image.pixel(x, y));
            ink.darkest = std::min(ink.darkest, grey);
            if (grey < threshold) {
                ++ink.count;
                ink.left = std::min(ink.left, x);
                ink.right = std::max(ink.right, x);
            }
        }
    }
    return ink;
}

QImage Rendered(CompactListView& view) {
    return view.viewport()->grab().toImage();
}

// The number of the last row wholly inside the viewport, given the top row.
bool LastRowFullyVisible(const CompactListView& view) {
    const int top = view.scrollPosition();
    return (view.rowCount() - top) * view.rowHeight() <= view.viewport()->height() &&
           view.visibleRange().first + view.visibleRange().count == view.rowCount();
}

// --- RowStore
// -----------------------------------------------------------------------------------------------

TEST(RowStore, CellsRoundTripAcrossManyBlocks) {
    // Enough rows to cross several cell blocks and text blocks.
    RowStore store(3);
    constexpr int kRows = 20'000;
    for (int i = 0; i < kRows; ++i) {
        ASSERT_EQ(store.AddRow(Text("r", i)), i);
        store.SetCell(i, 1, Text("value ", i * 7));
        if (i % 3 != 0) {
            store.SetCell(i, 2, Text("", i % 97));
        }
    }
    ASSERT_EQ(store.RowCount(), kRows);
    for (int i = 0; i < kRows; ++i) {
        ASSERT_EQ(store.Cell(i, 0), Text("r", i));
        ASSERT_EQ(store.Cell(i, 1), Text("value ", i * 7));
        ASSERT_EQ(store.Cell(i, 2), i % 3 != 0 ? Text("", i % 97) : std::string()) << i;
    }
}

TEST(RowStore, RewritesAnyRowLeavingTheOthersAlone) {
    RowStore store(2);
    for (int i = 0; i < 10; ++i) {
        store.AddRow(Text("row ", i));
        store.SetCell(i, 1, "medium");
    }
    // Shorter (in place), longer (appended), empty, and non-ASCII text.
    for (const std::string_view text : {"m", "a much longer text than before", "", "Größe ✓ 😀", "x"}) {
        store.SetCell(5, 1, text);
        EXPECT_EQ(store.Cell(5, 1), text);
        EXPECT_EQ(store.Cell(4, 1), "medium");
        EXPECT_EQ(store.Cell(6, 1), "medium");
        EXPECT_EQ(store.Cell(5, 0), "row 5");
    }
    // A cell set from a view of its own bytes.
    store.SetCell(3, 0, "abcdef");
    store.SetCell(3, 0, store.Cell(3, 0).substr(2));
    EXPECT_EQ(store.Cell(3, 0), "cdef");
    store.SetCell(3, 1, store.Cell(3, 0));
    EXPECT_EQ(store.Cell(3, 1), "cdef");
}

TEST(RowStore, OutOfRangeReadsEmptyAndWritesNothing) {
    RowStore store(3);
    store.AddRow("a");
    store.SetCell(0, 1, "b");
    store.SetCell(0, 2, "c");
    const std::vector<std::pair<int, int>> outside = {
        {-1, 0}, {1, 0}, {0, -1}, {0, 3}, {INT_MIN, INT_MAX}, {INT_MAX, 0}, {0, INT_MIN}};
    for (const auto& [row, column] : outside) {
        EXPECT_EQ(store.Cell(row, column), "") << row << "," << column;
        store.SetCell(row, column, "overwritten");
    }
    EXPECT_EQ(store.RowCount(), 1);
    EXPECT_EQ(store.Cell(0, 0), "a");
    EXPECT_EQ(store.Cell(0, 1), "b");
    EXPECT_EQ(store.Cell(0, 2), "c");
}

TEST(RowStore, ClearFreesEverythingAndStartsOver) {
    RowStore store(3);
    for (int i = 0; i < 10'000; ++i) {
        store.AddRow("664,579");
        store.SetCell(i, 1, "1,234,567,890");
    }
    EXPECT_GT(store.BytesAllocated(), 10'000u * 20u);
    store.Clear();
    EXPECT_EQ(store.RowCount(), 0);
    EXPECT_EQ(store.BytesAllocated(), 0u);
    EXPECT_EQ(store.Cell(0, 0), "");
    EXPECT_EQ(store.AddRow("again"), 0);
    EXPECT_EQ(store.Cell(0, 0), "again");
    EXPECT_EQ(store.Cell(0, 1), "");
}

TEST(RowStore, HugeTextsAreKeptWholeOrCutAtACharacter) {
    RowStore store(2);
    // Bigger than a text block, smaller than the cap: kept exactly, and small texts after it still work.
    const std::string big(200'000, 'b');
    store.AddRow(big);
    store.SetCell(0, 1, "small");
    EXPECT_EQ(store.Cell(0, 0), big);
    EXPECT_EQ(store.Cell(0, 1), "small");
    // A two-byte character straddling the cap is dropped whole.
    const std::string capped = std::string(RowStore::kMaxCellBytes - 1, 'a') + "é" + "tail";
    store.SetCell(0, 1, capped);
    EXPECT_EQ(store.Cell(0, 1), std::string(RowStore::kMaxCellBytes - 1, 'a'));
}

TEST(RowStore, ColumnCountChangesKeepTheRemainingColumns) {
    RowStore store(3);
    for (int i = 0; i < 5'000; ++i) {
        store.AddRow(Text("a", i));
        store.SetCell(i, 1, Text("b", i));
        store.SetCell(i, 2, Text("c", i));
    }
    store.SetColumnCount(2);
    EXPECT_EQ(store.ColumnCount(), 2);
    store.SetColumnCount(4);
    for (int i = 0; i < 5'000; i += 499) {
        EXPECT_EQ(store.Cell(i, 0), Text("a", i));
        EXPECT_EQ(store.Cell(i, 1), Text("b", i));
        EXPECT_EQ(store.Cell(i, 2), "");
        EXPECT_EQ(store.Cell(i, 3), "");
    }
    store.SetCell(4'999, 3, "d");
    EXPECT_EQ(store.Cell(4'999, 3), "d");

    for (const auto& [asked, expected] : std::vector<std::pair<int, int>>{
             {0, 1}, {-7, 1}, {INT_MIN, 1}, {256, 256}, {100'000, RowStore::kMaxColumns}}) {
        store.SetColumnCount(asked);
        EXPECT_EQ(store.ColumnCount(), expected) << asked;
    }
}

// --- CompactListView
// ----------------------------------------------------------------------------------------

TEST(CompactListView, RowsAndCellsRoundTrip) {
    ShownView shown(475, 200, 3);
    CompactListView& view = shown.view;
    for (int i = 0; i < 50; ++i) {
        ASSERT_EQ(view.addRow(Text("", i + 1)), i);
        view.setCell(i, 1, Text("p", i * 11));
    }
    view.setCell(25, 2, "middle");
    view.setCell(25, 1, "Größe");
    EXPECT_EQ(view.rowCount(), 50);
    EXPECT_EQ(view.cell(25, 0), "26");
    EXPECT_EQ(view.cell(25, 1), "Größe");
    EXPECT_EQ(view.cell(25, 2), "middle");
    EXPECT_EQ(view.cell(24, 2), "");
    EXPECT_EQ(view.cell(49, 1), "p539");

    for (const auto& [row, column] : std::vector<std::pair<int, int>>{{-1, 0}, {50, 0}, {0, 3}, {0, -1}}) {
        EXPECT_EQ(view.cell(row, column), "");
        view.setCell(row, column, "x");
    }
    EXPECT_EQ(view.rowCount(), 50);

    view.setScrollPosition(30);
    view.clear();
    EXPECT_EQ(view.rowCount(), 0);
    EXPECT_EQ(view.scrollPosition(), 0);
    EXPECT_EQ(view.verticalScrollBar()->maximum(), 0);
    EXPECT_EQ(view.visibleRange().count, 0);
    EXPECT_EQ(view.addRow("fresh"), 0);
    EXPECT_EQ(view.cell(0, 0), "fresh");
}

TEST(CompactListView, ScrollPositionPastTheEndShowsTheLastRow) {
    ShownView shown(475, 200, 3);
    CompactListView& view = shown.view;
    for (int i = 0; i < 1'000; ++i) {
        view.addRow(Text("", i));
    }
    Settle();
    const int fullRows = view.viewport()->height() / view.rowHeight();
    const int last = 1'000 - fullRows;
    ASSERT_GT(fullRows, 1);
    EXPECT_TRUE(view.verticalScrollBar()->isVisible());

    struct Case {
        int asked;
        int top;
    };
    for (const Case& c : std::vector<Case>{{0, 0},
                                           {10, 10},
                                           {-5, 0},
                                           {INT_MIN, 0},
                                           {last, last},
                                           {999, last},
                                           {1'000, last},
                                           {INT_MAX, last}}) {
        view.setScrollPosition(c.asked);
        EXPECT_EQ(view.verticalScrollBar()->value(), c.top) << c.asked;
        EXPECT_EQ(view.scrollPosition(), c.top) << c.asked;
        EXPECT_EQ(view.visibleRange().first, c.top) << c.asked;
        if (c.top == last) {
            EXPECT_EQ(view.verticalScrollBar()->value(), view.verticalScrollBar()->maximum());
            EXPECT_TRUE(LastRowFullyVisible(view)) << c.asked;
        }
    }
}

TEST(CompactListView, FollowsTheEndWhileRowsAreAppended) {
    // Rows appended one after the other: append, fill in, scroll to the end, with no event loop in between.
    ShownView shown(475, 150, 3);
    CompactListView& view = shown.view;
    for (int i = 0; i < 300; ++i) {
        const int row = view.addRow(Text("", i));
        view.setCell(row, 1, Text("n", i * 3));
        view.setCell(row, 2, "24");
        view.setScrollPosition(view.rowCount());
        ASSERT_TRUE(LastRowFullyVisible(view)) << i;
    }
    Settle();
    EXPECT_TRUE(view.verticalScrollBar()->isVisible());
    EXPECT_TRUE(LastRowFullyVisible(view));
}

TEST(CompactListView, ScrollToRowShowsThatRow) {
    ShownView shown(475, 200, 1);
    CompactListView& view = shown.view;
    for (int i = 0; i < 500; ++i) {
        view.addRow(Text("", i));
    }
    const int fullRows = view.viewport()->height() / view.rowHeight();
    for (const int row : {250, 10, 499, 0, 300}) {
        view.scrollToRow(row);
        const int top = view.scrollPosition();
        EXPECT_LE(top, row);
        EXPECT_LT(row - top, fullRows) << row;
    }
    view.scrollToRow(INT_MAX);
    EXPECT_TRUE(LastRowFullyVisible(view));
    view.scrollToRow(-3);
    EXPECT_EQ(view.scrollPosition(), 0);
}

TEST(CompactListView, PercentWidthsSplitTheWidgetsWidth) {
    ShownView shown(475, 200, 3);
    CompactListView& view = shown.view;
    view.setColumnWidths("30%,40%,30%");
    const int width = view.viewport()->width();
    const std::vector<int>& edges = view.columnBoundaries();
    ASSERT_EQ(edges.size(), 4u);
    EXPECT_EQ(edges[0], 0);
    EXPECT_NEAR(edges[1], 142, 3);
    EXPECT_NEAR(edges[2], 332, 4);
    EXPECT_EQ(edges[1], width * 30 / 100);
    EXPECT_EQ(edges[2], width * 30 / 100 + width * 40 / 100);
    EXPECT_NEAR(edges[3], width, 2);
}

// The scroll bar that appears once the rows outgrow the list covers its right end: the columns stay where
// they were, and the last one's cells are aligned within the part left visible beside the bar.
TEST(CompactListView, ColumnsStayInPlaceWhenTheScrollBarShows) {
    ShownView shown(475, 200, 3);
    CompactListView& view = shown.view;
    view.setColumnWidths("30%,40%,30%");
    view.setGridLines(false, true);
    view.addRow("1");
    view.setCell(0, 2, "77");
    const int listWidth = view.viewport()->width();
    const std::vector<int> edges = view.columnBoundaries();
    ASSERT_EQ(edges.size(), 4u);

    // Where each alignment of the last column puts the ink of its cell; the grid line left of it.
    enum Where { Left, Center, Right };
    struct Case {
        int code;
        Where where;
    };
    const std::vector<Case> cases = {{0, Left}, {2, Center}, {3, Right}, {4, Right}};
    const auto inkOfLastCell = [&](int code) {
        view.setColumnAlignment(2, code);
        return InkIn(Rendered(view), QRect(edges[2], 0, listWidth - edges[2], view.rowHeight()));
    };
    std::vector<int> widthsWithoutBar;
    for (const Case& c : cases) {
        const Ink ink = inkOfLastCell(c.code);
        widthsWithoutBar.push_back(ink.right - ink.left);
    }
    const QImage withoutBar = Rendered(view);

    while (view.rowCount() < 60) {
        view.addRow("");
    }
    Settle();
    ASSERT_TRUE(view.verticalScrollBar()->isVisible());
    const int visibleRight = view.viewport()->width();
    ASSERT_LT(visibleRight, listWidth - 8) << "the bar narrows the viewport";
    EXPECT_EQ(view.columnBoundaries(), edges);

    const QImage withBar = Rendered(view);
    for (const int line : {edges[1] - 1, edges[2] - 1}) {
        EXPECT_EQ(withBar.pixel(line, view.rowHeight() / 2), withoutBar.pixel(line, view.rowHeight() / 2))
            << "the grid line at " << line;
        EXPECT_NE(withBar.pixel(line, view.rowHeight() / 2), qRgb(255, 255, 255)) << line;
    }
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const Case& c = cases[i];
        const Ink ink = inkOfLastCell(c.code);
        ASSERT_GT(ink.count, 0) << c.code;
        EXPECT_EQ(ink.right - ink.left, widthsWithoutBar[i]) << c.code << ": the text shows whole";
        switch (c.where) {
        case Left:
            EXPECT_LT(ink.left, edges[2] + 8) << c.code;
            break;
        case Center:
            EXPECT_NEAR((ink.left + ink.right) / 2, (edges[2] + visibleRight) / 2, 4) << c.code;
            break;
        case Right:
            EXPECT_GT(ink.right, visibleRight - 8) << c.code;
            EXPECT_LT(ink.right, visibleRight) << c.code;
            break;
        }
    }
}

TEST(CompactListView, WidthTextsGiveADefinedLayout) {
    ShownView shown(475, 200, 3, /*framed=*/false);
    CompactListView& view = shown.view;
    ASSERT_EQ(view.viewport()->width(), 475);
    struct Case {
        const char* widths;
        std::vector<int> edges;
    };
    const std::vector<int> equal = {0, 159, 317, 475};
    const std::vector<Case> cases = {
        {"30%,40%,30%", {0, 142, 332, 474}},
        {"", equal},
        {"*,*,*", equal},
        {"100,*,50", {0, 100, 425, 475}},
        {"100,200", {0, 100, 300, 475}},
        {" 50 % , 25%,25% ", {0, 237, 355, 473}},
        {"10,20,30,40", {0, 10, 30, 60}},
        {"0,0,*", {0, 0, 0, 475}},
        {"abc,-5,nan%", equal},
        {"1e999,inf,-*", equal},
        {",,,", equal},
        {"12.5.5,.5,5.", equal},
        {"200%,*,*", {0, 475, 475, 475}},
        {"99999999999999999999999999999999999999999,*,*",
         {0, CompactListView::kMaxColumnPixels, CompactListView::kMaxColumnPixels,
          CompactListView::kMaxColumnPixels}},
        {"400,400,400", {0, 400, 800, 1200}},
        {"%,%%,*%", equal},
    };
    for (const Case& c : cases) {
        view.setColumnWidths(QString::fromUtf8(c.widths));
        EXPECT_EQ(view.columnBoundaries(), c.edges) << c.widths;
        // Whatever the layout, painting it must be safe.
        view.refreshNow();
    }
}

TEST(CompactListView, HostileColumnSettingsAreClampedOrIgnored) {
    ShownView shown(300, 120, 2);
    CompactListView& view = shown.view;
    view.addRow("one");
    view.setColumnAlignment(-1, 3);
    view.setColumnAlignment(2, 3);
    view.setColumnAlignment(0, INT_MIN);
    for (const auto& [asked, expected] :
         std::vector<std::pair<int, int>>{{0, 1}, {-4, 1}, {100'000, RowStore::kMaxColumns}, {2, 2}}) {
        view.setColumnCount(asked);
        EXPECT_EQ(view.columnCount(), expected);
        EXPECT_EQ(view.columnBoundaries().size(), static_cast<std::size_t>(expected) + 1);
        view.refreshNow();
    }
    EXPECT_EQ(view.cell(0, 0), "one");
}

TEST(CompactListView, RendersTextOnWhite) {
    ShownView shown(475, 200, 3);
    CompactListView& view = shown.view;
    view.setColumnWidths("30%,40%,30%");
    for (const char* row : {"664,579", "664,580", "664,581"}) {
        const int r = view.addRow(row);
        view.setCell(r, 1, "1,234,567,890");
        view.setCell(r, 2, "24");
    }
    const QImage image = Rendered(view);
    const Ink rows = InkIn(image, QRect(0, 0, image.width(), 3 * view.rowHeight()));
    EXPECT_GT(rows.count, 30);
    EXPECT_LT(rows.darkest, 80);
    // Below the rows: only background.
    const Ink below = InkIn(image, QRect(0, 3 * view.rowHeight(), image.width(), image.height()), 250);
    EXPECT_EQ(below.count, 0);
    EXPECT_EQ(image.pixel(image.width() - 1, image.height() - 1), qRgb(255, 255, 255));
}

TEST(CompactListView, LongTextIsClippedToItsColumn) {
    ShownView shown(475, 100, 3, /*framed=*/false);
    CompactListView& view = shown.view;
    view.addRow(std::string(5'000, 'W'));
    const QImage image = Rendered(view);
    const int columnEnd = view.columnBoundaries()[1];
    EXPECT_GT(InkIn(image, QRect(0, 0, columnEnd, view.rowHeight())).count, 30);
    EXPECT_EQ(InkIn(image, QRect(columnEnd, 0, image.width() - columnEnd, image.height())).count, 0);
}

TEST(CompactListView, AlignsTextWithinItsColumn) {
    ShownView shown(475, 100, 3, /*framed=*/false);
    CompactListView& view = shown.view;
    view.addRow("");
    view.setCell(0, 1, "77");
    const int left = view.columnBoundaries()[1];
    const int right = view.columnBoundaries()[2];
    const int middle = (left + right) / 2;
    enum Where { Left, Center, Right };
    struct Case {
        int code;
        Where where;
    };
    for (const Case& c : std::vector<Case>{
             {0, Left}, {1, Left}, {2, Center}, {3, Right}, {4, Right}, {99, Left}, {-1, Left}}) {
        view.setColumnAlignment(1, c.code);
        const Ink ink = InkIn(Rendered(view), QRect(left, 0, right - left, view.rowHeight()));
        ASSERT_GT(ink.count, 0) << c.code;
        switch (c.where) {
        case Left:
            EXPECT_LT(ink.left, left + 8) << c.code;
            break;
        case Center:
            EXPECT_NEAR((ink.left + ink.right) / 2, middle, 4) << c.code;
            break;
        case Right:
            EXPECT_GT(ink.right, right - 8) << c.code;
            break;
        }
    }
}

TEST(CompactListView, DrawsTheGridLinesAskedFor) {
    ShownView shown(475, 150, 3, /*framed=*/false);
    CompactListView& view = shown.view;
    for (int i = 0; i < 3; ++i) {
        view.addRow(""); // empty cells: only grid lines can colour the rows
    }
    const int between = view.columnBoundaries()[1] - 1;
    const int rowLine = view.rowHeight() - 1;
    const QRgb white = qRgb(255, 255, 255);
    struct Case {
        bool horizontal;
        bool vertical;
    };
    for (const Case& c : std::vector<Case>{{false, false}, {true, false}, {false, true}, {true, true}}) {
        view.setGridLines(c.horizontal, c.vertical);
        const QImage image = Rendered(view);
        EXPECT_EQ(image.pixel(50, rowLine) != white, c.horizontal) << c.horizontal << c.vertical;
        EXPECT_EQ(image.pixel(between, view.rowHeight() / 2) != white, c.vertical)
            << c.horizontal << c.vertical;
        EXPECT_EQ(image.pixel(50, view.rowHeight() / 2), white);
    }
}

TEST(CompactListView, DisabledLooksDisabled) {
    ShownView shown(300, 100, 1);
    CompactListView& view = shown.view;
    view.addRow("Disabled text 123");
    const QRect firstRow(0, 0, view.viewport()->width(), view.rowHeight());
    const Ink enabled = InkIn(Rendered(view), firstRow);
    view.setEnabled(false);
    const QImage image = Rendered(view);
    const Ink disabled = InkIn(image, firstRow, 200);
    EXPECT_LT(enabled.darkest, 80);
    EXPECT_GT(disabled.count, 0);
    EXPECT_GT(disabled.darkest, 100);
    EXPECT_NE(image.pixel(image.width() - 1, image.height() - 1), qRgb(255, 255, 255));
}

TEST(CompactListView, FontChangesTheRowHeight) {
    ShownView shown(475, 300, 1);
    CompactListView& view = shown.view;
    for (int i = 0; i < 200; ++i) {
        view.addRow(Text("", i));
    }
    const int smallHeight = view.rowHeight();
    const int smallRows = view.visibleRange().count;
    QFont big = view.font();
    big.setPixelSize(40);
    view.setFont(big);
    EXPECT_GE(view.rowHeight(), QFontMetrics(big).height());
    EXPECT_GT(view.rowHeight(), smallHeight);
    EXPECT_LT(view.visibleRange().count, smallRows);
    view.setScrollPosition(view.rowCount());
    EXPECT_TRUE(LastRowFullyVisible(view));
}

// Counts the viewport's paint events.
class PaintCounter : public QObject {
public:
    int paints = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            ++paints;
        }
        return QObject::eventFilter(watched, event);
    }
};

TEST(CompactListView, RepaintsOnlyForVisibleChanges) {
    ShownView shown(475, 150, 2);
    CompactListView& view = shown.view;
    for (int i = 0; i < 100; ++i) {
        view.addRow(Text("", i));
    }
    Settle();
    PaintCounter counter;
    view.viewport()->installEventFilter(&counter);

    view.setCell(90, 1, "hidden");
    view.addRow("also hidden");
    view.setCell(5'000, 0, "nowhere");
    Settle();
    EXPECT_EQ(counter.paints, 0);

    view.setCell(0, 1, "shown");
    Settle();
    EXPECT_GE(counter.paints, 1);
    counter.paints = 0;
    view.setScrollPosition(view.rowCount());
    Settle();
    EXPECT_GE(counter.paints, 1);
    view.viewport()->removeEventFilter(&counter);
}

// Records every region the viewport paints.
class PaintRecorder : public QObject {
public:
    std::vector<QRegion> painted;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            painted.push_back(static_cast<QPaintEvent*>(event)->region());
        }
        return QObject::eventFilter(watched, event);
    }
};

// What the window shows of a widget: its pixels in the window's backing store (an image on the offscreen
// platform).
QImage Shown(QWidget& widget) {
    QBackingStore* store = widget.window()->backingStore();
    auto* image = store ? dynamic_cast<QImage*>(store->paintDevice()) : nullptr;
    if (!image) {
        return {};
    }
    const qreal ratio = image->devicePixelRatio();
    const QPoint origin = widget.mapTo(widget.window(), QPoint(0, 0));
    const QRect area(origin * ratio, widget.size() * ratio);
    return image->copy(area);
}

// What the window shows of the viewport.
QImage Shown(CompactListView& view) {
    return Shown(*view.viewport());
}

// Appends rows one at a time (a row, two more cells, an immediate refresh, then the scroll to the end) and
// checks that each immediate refresh and the scroll that follows paint about one row, never the list, while
// the window shows exactly what a full paint would.
TEST(CompactListView, AnImmediateRefreshPaintsOnlyWhatChanged) {
    ShownView shown(475, 150, 3);
    CompactListView& view = shown.view;
    for (int i = 0; i < 100; ++i) {
        view.addRow(Text("", i + 1));
        view.setCell(i, 1, Text("value ", i));
    }
    view.setScrollPosition(view.rowCount());
    Settle();
    ASSERT_FALSE(Shown(view).isNull()) << "the offscreen backing store is an image";
    PaintRecorder recorder;
    view.viewport()->installEventFilter(&recorder);
    const int fullHeight = view.viewport()->height();
    for (int i = 100; i < 110; ++i) {
        const int row = view.addRow(Text("", i + 1));
        view.setCell(row, 1, Text("value ", i));
        view.setCell(row, 2, Text("", i % 7));
        recorder.painted.clear();
        view.refreshNow();
        for (const QRegion& region : recorder.painted) {
            EXPECT_LT(region.boundingRect().height(), fullHeight) << "row " << row;
        }
        view.setScrollPosition(view.rowCount());
        view.refreshNow(); // as the finishing step does: the strip scrolled into view, now
        ASSERT_FALSE(recorder.painted.empty()) << "row " << row << " painted at once";
        for (const QRegion& region : recorder.painted) {
            EXPECT_LE(region.boundingRect().height(), 2 * view.rowHeight()) << "row " << row;
        }
        EXPECT_TRUE(LastRowFullyVisible(view));
    }
    Settle();
    view.viewport()->removeEventFilter(&recorder);
    EXPECT_EQ(Shown(view), Rendered(view)) << "the pixels kept by scrolling match a full paint";
}

// A row appended to a list that is not full yet is in view: the immediate refresh paints it before it
// returns.
TEST(CompactListView, AnImmediateRefreshPaintsAVisibleNewRowBeforeItReturns) {
    ShownView shown(475, 150, 3);
    CompactListView& view = shown.view;
    view.addRow("1");
    Settle();
    PaintRecorder recorder;
    view.viewport()->installEventFilter(&recorder);
    const int row = view.addRow("2");
    view.setCell(row, 1, "3");
    view.refreshNow();
    ASSERT_FALSE(recorder.painted.empty());
    const QRect rowArea(0, row * view.rowHeight(), view.viewport()->width(), view.rowHeight());
    EXPECT_TRUE(recorder.painted.front().contains(rowArea));
    EXPECT_FALSE(recorder.painted.front().boundingRect().contains(QRect(0, 0, 1, view.rowHeight())))
        << "the first row did not change";
    recorder.painted.clear();
    view.refreshNow();
    EXPECT_TRUE(recorder.painted.empty()) << "nothing left to paint";
    view.viewport()->removeEventFilter(&recorder);
    EXPECT_EQ(Shown(view), Rendered(view));
}

} // namespace

// Rows appended and scrolled to, one at a time: the scroll bar learns the new range and
// position together and repaints once per step, only around its handle, and shows what a full paint would.
TEST(CompactListView, TheScrollBarRepaintsOncePerStepAndOnlyAroundItsHandle) {
    ShownView shown(475, 150, 3);
    CompactListView& view = shown.view;
    // Few rows, so that the handle shrinks and moves at every step.
    for (int i = 0; i < 12; ++i) {
        view.addRow(Text("", i + 1));
    }
    view.setScrollPosition(view.rowCount());
    Settle();
    QScrollBar* bar = view.verticalScrollBar();
    ASSERT_TRUE(bar->isVisible());
    ASSERT_FALSE(Shown(*bar).isNull()) << "the offscreen backing store is an image";
    PaintRecorder recorder;
    bar->installEventFilter(&recorder);
    for (int i = 12; i < 40; ++i) {
        recorder.painted.clear();
        const int row = view.addRow(Text("", i + 1));
        view.setCell(row, 1, Text("value ", i));
        view.refreshNow();
        view.setScrollPosition(view.rowCount());
        Settle();
        if (i == 12)
            continue; // the first step after the list was filled may still carry the bar's first paint
        ASSERT_EQ(recorder.painted.size(), 1u) << "row " << row;
        // Never the whole bar; once the handle is small, a small part of it.
        const int paintedHeight = recorder.painted.front().boundingRect().height();
        EXPECT_LT(paintedHeight, row < 30 ? bar->height() : bar->height() / 2) << "row " << row;
        EXPECT_EQ(bar->maximum(),
                  view.rowCount() - view.visibleRange().count + (LastRowFullyVisible(view) ? 0 : 1))
            << "row " << row;
    }
    bar->removeEventFilter(&recorder);
    EXPECT_EQ(Shown(*bar).convertToFormat(QImage::Format_RGB32),
              bar->grab().toImage().convertToFormat(QImage::Format_RGB32))
        << "the parts kept match a full paint";
    EXPECT_EQ(bar->value(), bar->maximum());
}

// Another part of the bar painted between a step's change and its repaint (a window exposed, a hover): the
// handle's old place is still repainted, since the screen still shows it there.
TEST(CompactListView, TheScrollBarLeavesNoStaleHandleWhenAnotherPartIsPaintedInBetween) {
    ShownView shown(475, 150, 3);
    CompactListView& view = shown.view;
    for (int i = 0; i < 12; ++i) {
        view.addRow(Text("", i + 1));
    }
    view.setScrollPosition(view.rowCount());
    Settle();
    QScrollBar* bar = view.verticalScrollBar();
    ASSERT_TRUE(bar->isVisible());
    for (int i = 12; i < 40; ++i) {
        view.addRow(Text("", i + 1));
        view.setScrollPosition(view.rowCount());
        bar->repaint(QRect(0, bar->height() / 2, bar->width(), 2)); // paints before the step's own repaint
        Settle();
    }
    EXPECT_EQ(Shown(*bar).convertToFormat(QImage::Format_RGB32),
              bar->grab().toImage().convertToFormat(QImage::Format_RGB32))
        << "the parts kept match a full paint";
}
