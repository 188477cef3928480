// The main window's Tab order follows its controls' TabIndex: "Start At:", "# Primes:", the list, "Start",
// then the mode buttons in their group; labels and a disabled "Stop" are passed over. Shift+Tab goes the
// same way back.

#include "search/SearchFixture.h"

#include <QTest>

#include <string>
#include <vector>

using testing_support::SearchFixture;

namespace {
class TabOrder : public SearchFixture {};
} // namespace

namespace {
// The names of the controls that each press of `key` with `modifiers` focuses, from "Start At:" until the way
// comes back to it (at most 12 presses); empty when the platform activates no window.
std::vector<std::string> Way(QWidget* frame, QWidget* start, Qt::Key key, Qt::KeyboardModifiers modifiers) {
    std::vector<std::string> way;
    start->setFocus();
    for (int press = 0; press < 12; ++press) {
        QTest::keyClick(frame->windowHandle(), key, modifiers);
        QWidget* now = QApplication::focusWidget();
        if (!now || now == start)
            break;
        way.push_back(now->objectName().toStdString());
    }
    return way;
}
} // namespace

TEST_F(TabOrder, TabGoesFromTheStartFieldToTheCountFieldAndOnInTabIndexOrderShiftTabTheOtherWay) {
    QWidget* frame = window->Native().frame;
    frame->activateWindow();
    QApplication::processEvents();
    if (QApplication::activeWindow() != frame)
        GTEST_SKIP() << "the platform activates no window";
    QWidget* start = Widget<QWidget>("EditField2");
    EXPECT_EQ(Way(frame, start, Qt::Key_Tab, Qt::NoModifier),
              (std::vector<std::string>{"EditField1", "ListBox1", "Start", "RadioButton1"}));
    EXPECT_EQ(Way(frame, start, Qt::Key_Backtab, Qt::ShiftModifier),
              (std::vector<std::string>{"RadioButton1", "Start", "ListBox1", "EditField1"}));
}
