// The main window as its designs and creation steps build it, read back through the real Qt widgets.

#include "app/MenuBar1.h"
#include "framework/core/Exceptions.h"
#include "framework/qt/ControlNative.h"
#include "framework/qt/WindowNative.h"
#include "framework/startup/Startup.h"
#include "search/Window1.h"

#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include <gtest/gtest.h>

using namespace Ovelund;

namespace {

class MainWindowDesign : public ::testing::Test {
protected:
    void SetUp() override {
        RuntimeInit();
        window = Window1::instance();
        ASSERT_TRUE(window);
        content = window->Native().content.data();
    }
    void TearDown() override {
        Ref<Window> open = GetImplicitWindow("Window1.Window1");
        if (open)
            open->Close();
        RuntimeInit(); // the window's Close event asked to quit
    }

    QWidget* Widget(const char* name) const {
        auto control = std::dynamic_pointer_cast<RectControl>(window->ControlByName(name));
        return control ? control->Native().widget.data() : nullptr;
    }
    template <class W> W* As(const char* name) const { return qobject_cast<W*>(Widget(name)); }
    QRect WindowGeometry(const char* name) const {
        QWidget* widget = Widget(name);
        return QRect(widget->mapTo(content, QPoint(0, 0)), widget->size());
    }

    Ref<Window1> window;
    QWidget* content = nullptr;
};

struct Placement {
    const char* name;
    int left, top, width, height;
    bool bold;
    int pixelSize; // 12 where creation sets the size, else the framework's default 13
};

} // namespace

TEST_F(MainWindowDesign, TheWindowIsWhiteFixedAt700By530WithItsTitleAndMenuBar) {
    EXPECT_EQ(content->size(), QSize(700, 530));
    EXPECT_EQ(content->minimumSize(), content->maximumSize());
    EXPECT_EQ(window->Native().frame->windowTitle(), QStringLiteral("Tarnwick"));
    EXPECT_EQ(content->palette().color(QPalette::Window), QColor(Qt::white));
    EXPECT_TRUE(window->Native().frame->isVisible());
    EXPECT_EQ(window->MenuBar(), MenuBar1::instance());
    const Qt::WindowFlags flags = window->Native().frame->windowFlags();
    EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);
    EXPECT_TRUE(flags & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(flags & Qt::WindowMaximizeButtonHint);
}

TEST_F(MainWindowDesign, EveryControlStandsWhereItsDesignPutsItInItsFont) {
    const Placement placements[] = {
        {"ListBox1", 20, 34, 475, 467, false, 12},    {"Start", 515, 456, 69, 20, false, 12},
        {"EditField1", 581, 374, 98, 21, false, 12},  {"StaticText1", 499, 374, 74, 20, true, 12},
        {"StaticText2", 512, 343, 61, 20, true, 12},  {"EditField2", 581, 341, 98, 21, false, 12},
        {"GroupBox1", 517, 55, 159, 269, true, 12},   {"RadioButton1", 523, 82, 80, 20, true, 12},
        {"RadioButton2", 521, 210, 80, 20, true, 12}, {"StaticText5", 527, 107, 134, 99, true, 12},
        {"StaticText6", 527, 235, 134, 80, true, 12}, {"StaticText7", 515, 403, 166, 41, true, 13},
        {"Stop", 601, 456, 80, 20, false, 13},        {"StaticText8", 20, 13, 142, 20, true, 13},
        {"StaticText9", 164, 13, 189, 20, true, 13},  {"StaticText91", 355, 13, 115, 20, true, 13},
        {"Warning", 514, 20, 162, 20, true, 13},
    };
    for (const Placement& p : placements) {
        SCOPED_TRACE(p.name);
        ASSERT_NE(Widget(p.name), nullptr);
        EXPECT_EQ(WindowGeometry(p.name), QRect(p.left, p.top, p.width, p.height));
        EXPECT_EQ(Widget(p.name)->font().bold(), p.bold);
        EXPECT_EQ(Widget(p.name)->font().pixelSize(), p.pixelSize);
    }
    for (const char* child : {"RadioButton1", "RadioButton2", "StaticText5", "StaticText6"})
        EXPECT_EQ(Widget(child)->parentWidget(), Widget("GroupBox1")) << child;
}

TEST_F(MainWindowDesign, TextsCaptionsAndStatesAreThoseOfTheIdleWindow) {
    EXPECT_EQ(As<QLabel>("StaticText2")->text(), QStringLiteral("Start At:"));
    EXPECT_EQ(As<QLabel>("StaticText1")->text(), QStringLiteral("# Primes:"));
    EXPECT_EQ(As<QLineEdit>("EditField2")->text(), QStringLiteral("2"));
    EXPECT_EQ(As<QLineEdit>("EditField1")->text(), QStringLiteral("500"));
    EXPECT_EQ(As<QLineEdit>("EditField2")->cursorPosition(), 1)
        << "the start field's Open sets the insertion point";
    EXPECT_EQ(As<QLabel>("StaticText8")->text(), QStringLiteral("Index"));
    EXPECT_EQ(As<QLabel>("StaticText9")->text(), QStringLiteral("Prime Number"));
    EXPECT_EQ(As<QLabel>("StaticText91")->text(), QStringLiteral("Gap"));
    EXPECT_EQ(As<QLabel>("StaticText7")->text().split(QLatin1Char('\n')),
              (QStringList{QStringLiteral("9,999,999,999 max"), QStringLiteral("both fields")}));
    EXPECT_EQ(As<QGroupBox>("GroupBox1")->title(), QStringLiteral("Choose desired mode"));
    EXPECT_EQ(As<QRadioButton>("RadioButton1")->text(), QStringLiteral("Mode A"));
    EXPECT_TRUE(As<QRadioButton>("RadioButton1")->isChecked());
    EXPECT_FALSE(As<QRadioButton>("RadioButton2")->isChecked());

    EXPECT_EQ(As<QPushButton>("Start")->text(), QStringLiteral("Start"));
    EXPECT_TRUE(As<QPushButton>("Start")->isEnabled());
    EXPECT_TRUE(CheckNil(window->Start()).Default());
    EXPECT_TRUE(As<QPushButton>("Start")->isDefault());
    EXPECT_FALSE(As<QPushButton>("Stop")->isEnabled());
    EXPECT_FALSE(CheckNil(window->Stop()).Default());

    QLabel* warning = As<QLabel>("Warning");
    EXPECT_EQ(warning->text(), QStringLiteral("I hope you are patient!"));
    EXPECT_TRUE(warning->isHidden());
    EXPECT_EQ(warning->palette().color(QPalette::WindowText), QColor(Qt::red));

    Ref<Listbox> list = window->ListBox1();
    EXPECT_EQ(CheckNil(list).ListCount(), 0);
    EXPECT_EQ(list->ColumnCount(), 3);
    EXPECT_EQ(list->ColumnWidths(), "30%,40%,30%");
    for (int column = 0; column < 3; ++column)
        EXPECT_EQ(list->ColumnAlignment(column), 2) << "the list's Open aligns every column alike";

    for (const char* timer : {"ModeATimer", "ModeBTimer"}) {
        Ref<Timer> t = RuntimeCheckCast<Timer>(window->ControlByName(timer));
        ASSERT_TRUE(t) << timer;
        EXPECT_EQ(t->Mode(), Timer::ModeOff);
        EXPECT_EQ(t->Period(), 20);
    }
}

TEST_F(MainWindowDesign, ControlAccessorsFindTheirControlsAndGiveNilOnceTheWindowHasClosed) {
    EXPECT_TRUE(window->ListBox1());
    EXPECT_TRUE(window->Warning());
    EXPECT_TRUE(window->ModeATimer());
    EXPECT_TRUE(window->FileQuit());
    EXPECT_TRUE(window->AppleAbout());
    window->Close();
    EXPECT_EQ(window->ListBox1(), nullptr);
    EXPECT_THROW(CheckNil(window->ListBox1()), NilObjectException);
    Ref<Window1> fresh = Window1::instance();
    EXPECT_NE(fresh, window) << "a closed window's accessor builds a new one";
    EXPECT_EQ(CheckNil(fresh->EditField1()).Text(), "500");
}
