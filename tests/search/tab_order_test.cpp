// The main window's Tab order follows its controls' TabIndex: "Start At:", "# Primes:", the list, "Start",
// then the mode buttons in their group; labels and a disabled "Stop" are passed over.

#include "search/SearchFixture.h"

#include <QTest>

#include <string>
#include <vector>

using testing_support::SearchFixture;

namespace {
class TabOrder : public SearchFixture {};
} // namespace

TEST_F(TabOrder, TabGoesFromTheStartFieldToTheCountFieldAndOnInTabIndexOrder) {
    QWidget* frame = window->Native().frame;
    frame->activateWindow();
    QApplication::processEvents();
    if (QApplication::activeWindow() != frame)
        GTEST_SKIP() << "the platform activates no window";
    QWidget* start = Widget<QWidget>("EditField2");
    start->setFocus();
    std::vector<std::string> way;
    for (int press = 0; press < 12; ++press) {
        QTest::keyClick(frame->windowHandle(), Qt::Key_Tab);
        QWidget* now = QApplication::focusWidget();
        if (!now || now == start)
            break;
        way.push_back(now->objectName().toStdString());
    }
    EXPECT_EQ(way, (std::vector<std::string>{"EditField1", "ListBox1", "Start", "RadioButton1"}));
}
