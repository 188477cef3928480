// Selecting and copying rows of the list view: clicks with and without Ctrl and Shift, the movement keys,
// SelectAll and Copy, the copy cap, what clear() and appending do to the selection, how selected rows are
// painted, and Copy through the EditCopy menu entry while a Listbox has the focus.

#include "framework/application/MenuItem.h"
#include "framework/controls/Listbox.h"
#include "framework/core/SetProperties.h"
#include "framework/qt/CompactListView.h"
#include "framework/qt/ControlNative.h"
#include "framework/qt/WindowNative.h"
#include "framework/startup/Startup.h"
#include "framework/windows/Window.h"
#include "support/Wait.h"

#include <QApplication>
#include <QClipboard>
#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPalette>
#include <QPixmap>

#include <gtest/gtest.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

using namespace Ovelund;
using testing_support::Settle;
namespace d = Ovelund::design;

namespace {

constexpr auto Ctrl = Qt::ControlModifier;
constexpr auto Shift = Qt::ShiftModifier;

// A press and release of the left button at the middle of the viewport's `line`th row line (0 = top),
// whether or not a row is there.
void ClickLine(CompactListView& view, int line, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QWidget* viewport = view.viewport();
    const QPointF at(20, line * view.rowHeight() + view.rowHeight() / 2);
    const QPointF global = viewport->mapToGlobal(at);
    QMouseEvent press(QEvent::MouseButtonPress, at, global, Qt::LeftButton, Qt::LeftButton, modifiers);
    QApplication::sendEvent(viewport, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, at, global, Qt::LeftButton, Qt::NoButton, modifiers);
    QApplication::sendEvent(viewport, &release);
}

void Click(CompactListView& view, int row, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    ClickLine(view, row - view.scrollPosition(), modifiers);
}

void Key(QWidget& to, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QKeyEvent press(QEvent::KeyPress, key, modifiers);
    QApplication::sendEvent(&to, &press);
    QKeyEvent release(QEvent::KeyRelease, key, modifiers);
    QApplication::sendEvent(&to, &release);
}

std::vector<int> Selected(const CompactListView& view) {
    std::vector<int> rows;
    for (int row = 0; row < view.rowCount(); ++row) {
        if (view.isRowSelected(row)) {
            rows.push_back(row);
        }
    }
    return rows;
}

std::vector<int> Rows(int first, int last) {
    std::vector<int> rows;
    for (int row = first; row <= last; ++row) {
        rows.push_back(row);
    }
    return rows;
}

// As UTF-8, which failures print readably.
std::string Clipboard() {
    return QGuiApplication::clipboard()->text().toStdString();
}

// A shown view of `rows` rows ("r0", "r1", ...) with exactly `linesShown` rows fully in its viewport.
struct ShownList {
    ShownList(int rows, int linesShown, bool multiple) {
        view.setMultipleSelection(multiple);
        view.resize(300, linesShown * view.rowHeight() + 2 * view.frameWidth());
        for (int row = 0; row < rows; ++row) {
            view.addRow("r" + std::to_string(row));
        }
        view.show();
        Settle();
    }
    CompactListView view;
};

// ---------------------------------------------------------------------------------------------------------
// Clicks

struct Step {
    int row;
    Qt::KeyboardModifiers modifiers = Qt::NoModifier;
};

struct ClickCase {
    const char* name;
    std::vector<Step> steps;
    std::vector<int> multiple; // selected rows with multiple selection
    std::vector<int> single;   // and with single selection
    int current;
};

TEST(ListSelectionTest, ClicksSelectToggleAndExtendAndSingleSelectionIgnoresCtrlAndShift) {
    const std::vector<ClickCase> cases = {
        {"a click selects its row", {{2}}, {2}, {2}, 2},
        {"a second click moves the selection", {{2}, {5}}, {5}, {5}, 5},
        {"Ctrl+click adds rows", {{2}, {5, Ctrl}, {7, Ctrl}}, {2, 5, 7}, {7}, 7},
        {"Ctrl+click removes a selected row", {{2}, {5, Ctrl}, {2, Ctrl}}, {5}, {2}, 2},
        {"Ctrl+click inside a range splits it", {{3}, {5, Shift}, {4, Ctrl}}, {3, 5}, {4}, 4},
        {"Ctrl+click joins its neighbours", {{1}, {3, Ctrl}, {2, Ctrl}}, {1, 2, 3}, {2}, 2},
        {"Shift+click extends down from the anchor", {{2}, {5, Shift}}, Rows(2, 5), {5}, 5},
        {"Shift+click extends up from the anchor", {{5}, {2, Shift}}, Rows(2, 5), {2}, 2},
        {"Shift+click keeps the anchor", {{2}, {5, Shift}, {0, Shift}}, Rows(0, 2), {0}, 0},
        {"Ctrl+click moves the anchor", {{2}, {6, Ctrl}, {8, Shift}}, Rows(6, 8), {8}, 8},
        {"Shift+click replaces the other rows", {{0}, {9, Ctrl}, {3, Shift}}, Rows(3, 9), {3}, 3},
        {"Shift+click without an anchor selects its row", {{4, Shift}}, {4}, {4}, 4},
        {"Ctrl+Shift+click extends as Shift+click", {{2}, {4, Ctrl | Shift}}, Rows(2, 4), {4}, 4},
        {"a click below the last row changes nothing", {{1}, {14}}, {1}, {1}, 1},
        {"Ctrl+click below the last row changes nothing", {{1}, {14, Ctrl}}, {1}, {1}, 1},
    };
    for (const bool multiple : {true, false}) {
        for (const ClickCase& c : cases) {
            SCOPED_TRACE(std::string(c.name) + (multiple ? " (multiple)" : " (single)"));
            ShownList list(12, 16, multiple);
            for (const Step& step : c.steps) {
                Click(list.view, step.row, step.modifiers);
            }
            const std::vector<int>& expected = multiple ? c.multiple : c.single;
            EXPECT_EQ(Selected(list.view), expected);
            EXPECT_EQ(list.view.selectedRowCount(), static_cast<int>(expected.size()));
            EXPECT_EQ(list.view.currentRow(), c.current);
            EXPECT_FALSE(list.view.isRowSelected(-1));
            EXPECT_FALSE(list.view.isRowSelected(12));
        }
    }
}

TEST(ListSelectionTest, ARightClickSelectsNothing) {
    ShownList list(5, 10, true);
    const QPointF at(20, list.view.rowHeight() / 2);
    QMouseEvent press(QEvent::MouseButtonPress, at, list.view.viewport()->mapToGlobal(at), Qt::RightButton,
                      Qt::RightButton, Qt::NoModifier);
    QApplication::sendEvent(list.view.viewport(), &press);
    EXPECT_FALSE(list.view.hasSelection());
    EXPECT_EQ(list.view.currentRow(), -1);
}

TEST(ListSelectionTest, AClickGivesTheListTheKeyboardFocus) {
    ShownList list(5, 10, true);
    EXPECT_EQ(list.view.focusPolicy(), Qt::StrongFocus);
    list.view.activateWindow();
    Settle();
    if (!list.view.isActiveWindow())
        GTEST_SKIP() << "the platform activates no window";
    Click(list.view, 1);
    Settle();
    EXPECT_EQ(QApplication::focusWidget(), &list.view);
}

// ---------------------------------------------------------------------------------------------------------
// Keys

struct Press {
    int key;
    Qt::KeyboardModifiers modifiers = Qt::NoModifier;
};

struct KeyCase {
    const char* name;
    int clicked; // -1: no click first
    std::vector<Press> keys;
    std::vector<int>
        multiple; // selected rows with multiple selection; with single selection, the current row
    int current;
};

TEST(ListSelectionTest, MovementKeysMoveTheCurrentRowExtendWithShiftAndScrollToIt) {
    // 100 rows, 10 in view: a page is 10 rows.
    const std::vector<KeyCase> cases = {
        {"Down without a current row takes the top row", -1, {{Qt::Key_Down}}, {0}, 0},
        {"Up without a current row takes the top row", -1, {{Qt::Key_Up}}, {0}, 0},
        {"Down moves one row", 3, {{Qt::Key_Down}}, {4}, 4},
        {"Up stops at the first row", 0, {{Qt::Key_Up}}, {0}, 0},
        {"Shift+Down extends", 3, {{Qt::Key_Down, Shift}, {Qt::Key_Down, Shift}}, Rows(3, 5), 5},
        {"Shift+Up shrinks again",
         3,
         {{Qt::Key_Down, Shift}, {Qt::Key_Down, Shift}, {Qt::Key_Up, Shift}},
         Rows(3, 4),
         4},
        {"Shift+Up past the anchor turns round",
         3,
         {{Qt::Key_Down, Shift}, {Qt::Key_Up, Shift}, {Qt::Key_Up, Shift}},
         Rows(2, 3),
         2},
        {"a plain move collapses the selection", 3, {{Qt::Key_Down, Shift}, {Qt::Key_Down}}, {5}, 5},
        {"PageDown moves a page", 0, {{Qt::Key_PageDown}}, {10}, 10},
        {"PageDown twice and PageUp",
         0,
         {{Qt::Key_PageDown}, {Qt::Key_PageDown}, {Qt::Key_PageUp}},
         {10},
         10},
        {"PageUp stops at the first row", 5, {{Qt::Key_PageUp}}, {0}, 0},
        {"Shift+PageDown extends a page", 2, {{Qt::Key_PageDown, Shift}}, Rows(2, 12), 12},
        {"End takes the last row", 3, {{Qt::Key_End}}, {99}, 99},
        {"PageDown stops at the last row", -1, {{Qt::Key_End}, {Qt::Key_PageDown}}, {99}, 99},
        {"Shift+End extends to the last row", 3, {{Qt::Key_End, Shift}}, Rows(3, 99), 99},
        {"Home after End", 3, {{Qt::Key_End}, {Qt::Key_Home}}, {0}, 0},
        {"Shift+Home from the last row", -1, {{Qt::Key_End}, {Qt::Key_Home, Shift}}, Rows(0, 99), 0},
        {"Ctrl with a movement key moves as without", 3, {{Qt::Key_Down, Ctrl}}, {4}, 4},
    };
    for (const bool multiple : {true, false}) {
        for (const KeyCase& c : cases) {
            SCOPED_TRACE(std::string(c.name) + (multiple ? " (multiple)" : " (single)"));
            ShownList list(100, 10, multiple);
            ASSERT_EQ(list.view.visibleRange().count, 10);
            if (c.clicked >= 0) {
                Click(list.view, c.clicked);
            }
            for (const Press& press : c.keys) {
                Key(list.view, press.key, press.modifiers);
            }
            EXPECT_EQ(Selected(list.view), multiple ? c.multiple : std::vector<int>{c.current});
            EXPECT_EQ(list.view.currentRow(), c.current);
            const int top = list.view.scrollPosition();
            EXPECT_TRUE(c.current >= top && c.current < top + 10) << "row " << c.current << ", top " << top;
        }
    }
}

TEST(ListSelectionTest, MovementKeysInAnEmptyListSelectNothing) {
    ShownList list(0, 10, true);
    for (const int key : {Qt::Key_Down, Qt::Key_Up, Qt::Key_PageDown, Qt::Key_End, Qt::Key_Home}) {
        Key(list.view, key, Shift);
    }
    EXPECT_FALSE(list.view.hasSelection());
    EXPECT_EQ(list.view.currentRow(), -1);
}

// ---------------------------------------------------------------------------------------------------------
// SelectAll and Copy

struct CopyList {
    explicit CopyList(bool multiple) {
        view.setMultipleSelection(multiple);
        view.setColumnCount(3);
        view.resize(300, 200);
        for (const auto& cells : std::vector<std::vector<std::string>>{
                 {"1", "2", "3"}, {"", "\xC3\xA9 \xC3\xBC", ""}, {"x", "", "z"}}) {
            const int row = view.addRow(cells[0]);
            view.setCell(row, 1, cells[1]);
            view.setCell(row, 2, cells[2]);
        }
        view.show();
        Settle();
        QGuiApplication::clipboard()->setText(QStringLiteral("before"));
    }
    CompactListView view;
};

TEST(ListSelectionTest, SelectAllAndCopyPutEveryRowOnTheClipboardAsTabbedLines) {
    CopyList list(true);
    Key(list.view, Qt::Key_A, Ctrl);
    EXPECT_EQ(list.view.selectedRowCount(), 3);
    Key(list.view, Qt::Key_C, Ctrl);
    EXPECT_EQ(Clipboard(), "1\t2\t3\n\t\xC3\xA9 \xC3\xBC\t\nx\t\tz\n");
}

TEST(ListSelectionTest, CopyTakesTheRowsInListOrderWhateverTheClickOrder) {
    CopyList list(true);
    Click(list.view, 2);
    Click(list.view, 0, Ctrl);
    list.view.copySelection();
    EXPECT_EQ(Clipboard(), "1\t2\t3\nx\t\tz\n");
}

TEST(ListSelectionTest, SingleSelectionIgnoresSelectAllAndCopiesItsRow) {
    CopyList list(false);
    Click(list.view, 1);
    Key(list.view, Qt::Key_A, Ctrl);
    EXPECT_EQ(Selected(list.view), std::vector<int>{1});
    Key(list.view, Qt::Key_C, Ctrl);
    EXPECT_EQ(Clipboard(), "\t\xC3\xA9 \xC3\xBC\t\n");
}

TEST(ListSelectionTest, CopyWithNothingSelectedLeavesTheClipboardAlone) {
    CopyList list(true);
    Key(list.view, Qt::Key_C, Ctrl);
    EXPECT_EQ(Clipboard(), "before");
}

TEST(ListSelectionTest, TheListClaimsCopyAndSelectAllKeysBeforeMenuShortcuts) {
    struct OverrideCase {
        bool multiple;
        int key;
        bool claimed;
    };
    for (const OverrideCase& c : {OverrideCase{true, Qt::Key_C, true}, OverrideCase{true, Qt::Key_A, true},
                                  OverrideCase{false, Qt::Key_C, true}, OverrideCase{false, Qt::Key_A, false},
                                  OverrideCase{true, Qt::Key_V, false}}) {
        SCOPED_TRACE(c.key);
        CopyList list(c.multiple);
        QKeyEvent override(QEvent::ShortcutOverride, c.key, Ctrl);
        override.ignore();
        QApplication::sendEvent(&list.view, &override);
        EXPECT_EQ(override.isAccepted(), c.claimed);
    }
}

TEST(ListSelectionTest, CopyTakesWholeRowsUpToTheCap) {
    CompactListView view; // "a\n", "bb\n", "ccc\n": 2, 3 and 4 bytes
    for (const char* text : {"a", "bb", "ccc"}) {
        view.addRow(text);
    }
    view.setMultipleSelection(true);
    view.selectAll();
    const struct {
        std::size_t cap;
        const char* text;
    } cases[] = {{100, "a\nbb\nccc\n"},
                 {9, "a\nbb\nccc\n"},
                 {8, "a\nbb\n"},
                 {5, "a\nbb\n"},
                 {4, "a\n"},
                 {1, ""},
                 {0, ""}};
    for (const auto& c : cases) {
        EXPECT_EQ(view.selectedText(c.cap), c.text) << "cap " << c.cap;
    }
}

TEST(ListSelectionTest, AMillionRowSelectAllIsOneRangeAndCopiesWholeRowsUpToSixteenMebibytes) {
    constexpr int kRows = 1'000'000;
    CompactListView view;
    view.setColumnCount(3);
    view.setMultipleSelection(true);
    auto cells = [](int row) {
        return std::vector<std::string>{"row " + std::to_string(row), std::to_string(9'000'000'000LL + row),
                                        std::to_string(row % 97)};
    };
    for (int row = 0; row < kRows; ++row) {
        const std::vector<std::string> texts = cells(row);
        view.addRow(texts[0]);
        view.setCell(row, 1, texts[1]);
        view.setCell(row, 2, texts[2]);
    }
    view.selectAll();
    EXPECT_EQ(view.selectedRowCount(), kRows);
    EXPECT_TRUE(view.isRowSelected(kRows - 1));

    std::string expected;
    for (int row = 0; row < kRows; ++row) {
        const std::vector<std::string> texts = cells(row);
        const std::string line = texts[0] + '\t' + texts[1] + '\t' + texts[2] + '\n';
        if (expected.size() + line.size() > CompactListView::kMaxCopyBytes) {
            break;
        }
        expected += line;
    }
    ASSERT_GT(expected.size(), CompactListView::kMaxCopyBytes - 64) << "the rows must go past the cap";
    view.copySelection();
    EXPECT_TRUE(Clipboard() == expected) << "clipboard differs from the rows that fit";

    // Rows appended later are not part of the earlier select-all.
    const int added = view.addRow("late");
    EXPECT_FALSE(view.isRowSelected(added));
    EXPECT_EQ(view.selectedRowCount(), kRows);
}

// ---------------------------------------------------------------------------------------------------------
// What else changes the selection

TEST(ListSelectionTest, ClearDropsTheSelectionTheCurrentRowAndTheAnchor) {
    ShownList list(8, 10, true);
    Click(list.view, 2);
    Click(list.view, 5, Shift);
    ASSERT_EQ(list.view.selectedRowCount(), 4);
    list.view.clear();
    EXPECT_FALSE(list.view.hasSelection());
    EXPECT_EQ(list.view.currentRow(), -1);
    for (int row = 0; row < 8; ++row) {
        list.view.addRow("again");
    }
    EXPECT_EQ(Selected(list.view), std::vector<int>{});
    Key(list.view, Qt::Key_Down, Shift);
    EXPECT_EQ(Selected(list.view), std::vector<int>{0}) << "no anchor left from before clear()";
}

TEST(ListSelectionTest, TurningMultipleSelectionOffKeepsOnlyTheCurrentRow) {
    struct ModeCase {
        const char* name;
        std::vector<Step> steps;
        std::vector<int> kept;
    };
    const std::vector<ModeCase> cases = {
        {"the current row selected", {{2}, {5, Ctrl}}, {5}},
        {"the current row deselected", {{2}, {5, Ctrl}, {5, Ctrl}}, {}},
    };
    for (const ModeCase& c : cases) {
        SCOPED_TRACE(c.name);
        ShownList list(8, 10, true);
        for (const Step& step : c.steps) {
            Click(list.view, step.row, step.modifiers);
        }
        list.view.setMultipleSelection(false);
        EXPECT_EQ(Selected(list.view), c.kept);
        Click(list.view, 1, Shift);
        EXPECT_EQ(Selected(list.view), std::vector<int>{1});
    }
}

// ---------------------------------------------------------------------------------------------------------
// Painting

TEST(ListSelectionTest, SelectedRowsArePaintedInTheHighlightColoursOfTheWindowsState) {
    ShownList list(3, 10, true);
    QPalette palette = list.view.palette();
    palette.setColor(QPalette::Active, QPalette::Highlight, QColor(200, 0, 0));
    palette.setColor(QPalette::Inactive, QPalette::Highlight, QColor(0, 0, 200));
    palette.setColor(QPalette::Active, QPalette::HighlightedText, QColor(255, 255, 0));
    palette.setColor(QPalette::Inactive, QPalette::HighlightedText, QColor(0, 255, 255));
    list.view.setPalette(palette);
    Click(list.view, 1);
    const QPalette::ColorGroup group = list.view.isActiveWindow() ? QPalette::Active : QPalette::Inactive;

    const int h = list.view.rowHeight();
    const int right = list.view.viewport()->width() - 2;
    QImage image = list.view.viewport()->grab().toImage();
    EXPECT_EQ(image.pixelColor(right, h / 2), QColor(Qt::white)) << "row 0 is not selected";
    EXPECT_EQ(image.pixelColor(right, h + h / 2), palette.color(group, QPalette::Highlight));
    EXPECT_EQ(image.pixelColor(right, 2 * h + h / 2), QColor(Qt::white)) << "row 2 is not selected";
    bool highlightedInk = false;
    const QColor ink = palette.color(group, QPalette::HighlightedText);
    for (int y = h; y < 2 * h && !highlightedInk; ++y) {
        for (int x = 0; x < 40 && !highlightedInk; ++x) {
            highlightedInk = image.pixelColor(x, y) == ink;
        }
    }
    EXPECT_TRUE(highlightedInk) << "the selected row's text is drawn in HighlightedText";

    list.view.setEnabled(false);
    image = list.view.viewport()->grab().toImage();
    EXPECT_EQ(image.pixelColor(right, h + h / 2), QColor(0xF0, 0xF0, 0xF0))
        << "a disabled list shows no highlight";
}

// ---------------------------------------------------------------------------------------------------------
// Through the Listbox control and the EditCopy menu entry

class ListboxSelectionTest : public ::testing::Test {
protected:
    void SetUp() override {
        RuntimeInit();
        window = std::make_shared<Window>();
        SetProperties(*window, OVELUND_DESIGN_BLOCK(d::Int32{"Width", 400}, d::Int32{"Height", 300}));
        window->Constructor();
    }
    void TearDown() override {
        window->Close();
        window.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        RuntimeInit();
    }
    template <std::size_t N> Ref<Listbox> MakeList(const std::array<char, N>& design) {
        Ref<Listbox> list = RuntimeCheckCast<Listbox>(window->New(Listbox::Lookup()));
        list->Constructor();
        window->AddControl("ListBox1", list);
        SetProperties(*list, d::View(design));
        return list;
    }
    Ref<Window> window;
};

TEST_F(ListboxSelectionTest, SelectionTypeOneSelectsSeveralRowsAndOtherValuesOne) {
    auto list = MakeList(
        OVELUND_DESIGN_BLOCK(d::Int32{"Width", 300}, d::Int32{"Height", 200}, d::Int32{"SelectionType", 1}));
    auto* view = NativeWidget<CompactListView>(list->Native());
    ASSERT_NE(view, nullptr);
    EXPECT_TRUE(view->multipleSelection());
    for (const std::int32_t type : {0, 2, -1}) {
        list->SetSelectionType(type);
        EXPECT_FALSE(view->multipleSelection()) << type;
    }
    list->SetSelectionType(1);
    EXPECT_TRUE(view->multipleSelection());

    list->AddRow("a");
    list->AddRow("b");
    Click(*view, 0);
    Click(*view, 1, Ctrl);
    EXPECT_EQ(view->selectedRowCount(), 2);
    list->DeleteAllRows();
    EXPECT_FALSE(view->hasSelection());
}

TEST_F(ListboxSelectionTest, TabStopFalseKeepsTheFocusAwayFromTheList) {
    auto withStop = MakeList(OVELUND_DESIGN_BLOCK(d::Int32{"Height", 100}));
    EXPECT_EQ(NativeWidget<CompactListView>(withStop->Native())->focusPolicy(), Qt::StrongFocus);
    auto without = MakeList(OVELUND_DESIGN_BLOCK(d::Int32{"Height", 100}, d::Boolean{"TabStop", false}));
    EXPECT_EQ(NativeWidget<CompactListView>(without->Native())->focusPolicy(), Qt::NoFocus);
}

TEST_F(ListboxSelectionTest, EditCopyCopiesTheSelectedRowsOfTheFocusedList) {
    auto list = MakeList(OVELUND_DESIGN_BLOCK(d::Int32{"Width", 300}, d::Int32{"Height", 200},
                                              d::Int32{"ColumnCount", 2}, d::Int32{"SelectionType", 1},
                                              d::String{"InitialValue", "a\tb\rc\td\re\tf"}));
    auto* view = NativeWidget<CompactListView>(list->Native());
    ASSERT_NE(view, nullptr);
    ASSERT_EQ(view->rowCount(), 3);
    Ref<MenuItem> copy = std::make_shared<MenuItem>();
    copy->SetName("EditCopy");

    window->Native().frame->activateWindow();
    Click(*view, 0);
    Settle();
    if (QApplication::focusWidget() != view)
        GTEST_SKIP() << "the platform gives no keyboard focus";
    Click(*view, 2, Ctrl);
    EXPECT_TRUE(copy->CanAct());
    QGuiApplication::clipboard()->setText(QStringLiteral("before"));
    RuntimeChooseMenuItem(*copy);
    EXPECT_EQ(Clipboard(), "a\tb\ne\tf\n");

    view->clearSelection();
    EXPECT_FALSE(copy->CanAct()) << "nothing to copy";
}

} // namespace
