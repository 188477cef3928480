// Labels over real widgets: the design reaching the widget, plain text with its line breaks, the alignment
// codes and the Open event.

#include "ControlFixture.h"

#include "framework/controls/Label.h"
#include "framework/core/SetProperties.h"

#include <QColor>
#include <QImage>
#include <QLabel>

#include <gtest/gtest.h>

#include <cstdint>
#include <utility>
#include <vector>

using namespace Ovelund;
using namespace testing_support;
namespace d = Ovelund::design;

namespace {

TEST_F(ControlsTest, LabelDesignReachesItsWidget) {
    auto label = Make<Label>(
        "Notice", OVELUND_DESIGN_BLOCK(d::Int32{"Left", 30}, d::Int32{"Top", 40}, d::Int32{"Width", 150},
                                       d::Int32{"Height", 22}, d::String{"Text", "I hope you are patient!"},
                                       d::Int32{"TextAlign", 1}, d::Color{"TextColor", 0xFF, 0, 0},
                                       d::Boolean{"Multiline", false}, d::Boolean{"Transparent", false},
                                       d::String{"HelpTag", "tip"}, d::String{"TextFont", "Helvetica Neue"},
                                       d::Boolean{"Bold", true}));
    auto* widget = WidgetOf<QLabel>(*label);
    ASSERT_NE(widget, nullptr);
    EXPECT_EQ(widget->parentWidget(), Content());
    EXPECT_EQ(widget->geometry(), QRect(30, 40, 150, 22));
    EXPECT_EQ(widget->text(), Q("I hope you are patient!"));
    EXPECT_EQ(widget->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
    EXPECT_TRUE(widget->font().bold());
    EXPECT_EQ(widget->font().pixelSize(), 13);
    EXPECT_EQ(widget->toolTip(), Q("tip"));
    EXPECT_TRUE(widget->isVisible());
    EXPECT_TRUE(widget->isEnabled());
    EXPECT_EQ(label->Text(), "I hope you are patient!");

    // The red notice is drawn red.
    const QImage image = widget->grab().toImage();
    int red = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor pixel = image.pixelColor(x, y);
            red += pixel.red() > 200 && pixel.green() < 90 && pixel.blue() < 90;
        }
    EXPECT_GT(red, 10);

    SetProperties(*label, OVELUND_DESIGN_BLOCK(d::Boolean{"Visible", false}, d::Boolean{"Enabled", false}));
    EXPECT_FALSE(widget->isVisible());
    EXPECT_FALSE(widget->isEnabled());
    label->SetTextSize(12.0f);
    EXPECT_EQ(widget->font().pixelSize(), 12);
}

struct LabelTextCase {
    String text;
    bool multiLine;
    QString shown;
};

TEST_F(ControlsTest, LabelShowsPlainTextWithItsLineBreaks) {
    auto label = Make<Label>("Label1", OVELUND_DESIGN_BLOCK(d::String{"Text", ""}));
    auto* widget = WidgetOf<QLabel>(*label);
    ASSERT_NE(widget, nullptr);
    const std::vector<LabelTextCase> cases = {
        {"first line\rsecond line", true, Q("first line\nsecond line")},
        {"a\r\nb", true, Q("a\nb")},
        {"a\nb", true, Q("a\nb")},
        {"a\r\rb", true, Q("a\n\nb")},
        {"a\rb", false, Q("a b")},
        {"a\r\nb\nc", false, Q("a b c")},
        {"<b>x</b> &amp; &", false, Q("<b>x</b> &amp; &")},
        {"<font color=red>y</font>", true, Q("<font color=red>y</font>")},
        {"\xff\xfe ok", false, QString(QChar(0xFFFD)) + QChar(0xFFFD) + Q(" ok")},
        {String("nul\0in", 6), false, QString::fromUtf8("nul\0in", 6)},
        {"", true, QString()},
    };
    for (const LabelTextCase& c : cases) {
        SCOPED_TRACE(c.text);
        SetProperties(*label, StringEntry("Text", c.text) + "Multiline " + char(c.multiLine ? 1 : 0));
        EXPECT_EQ(widget->text(), c.shown);
        EXPECT_EQ(widget->textFormat(), Qt::PlainText);
        EXPECT_EQ(widget->wordWrap(), c.multiLine);
        EXPECT_EQ(label->Text(), c.text);
        EXPECT_EQ(label->MultiLine(), c.multiLine);
    }
    // A MultiLine label shows its lines one above the other.
    label->SetMultiLine(true);
    label->SetText("first line\rsecond line");
    EXPECT_GE(widget->heightForWidth(166), 2 * widget->fontMetrics().height());
}

TEST_F(ControlsTest, LabelAlignmentCodes) {
    auto label = Make<Label>("Label1", OVELUND_DESIGN_BLOCK(d::String{"Text", "x"}));
    auto* widget = WidgetOf<QLabel>(*label);
    ASSERT_NE(widget, nullptr);
    const std::vector<std::pair<std::int32_t, Qt::Alignment>> cases = {
        {0, Qt::AlignLeft},  {1, Qt::AlignHCenter},    {2, Qt::AlignRight},      {3, Qt::AlignLeft},
        {-1, Qt::AlignLeft}, {kIntMin, Qt::AlignLeft}, {kIntMax, Qt::AlignLeft},
    };
    for (auto [code, alignment] : cases) {
        SCOPED_TRACE(code);
        SetProperties(*label, Int32Entry("TextAlign", code));
        EXPECT_EQ(widget->alignment() & Qt::AlignHorizontal_Mask, alignment);
        EXPECT_EQ(label->TextAlign(), code);
    }
}

TEST_F(ControlsTest, LabelOpenEventReachesItsHandler) {
    auto label = Make<Label>("Label1", OVELUND_DESIGN_BLOCK(d::String{"Text", "x"}));
    Bind(label, Control::EventOpen, &Recorder::OnOpen, "( Label )", recorder);
    label->RaiseOpen();
    ASSERT_EQ(recorder->opened.size(), 1u);
    EXPECT_EQ(recorder->opened[0], label);
}

} // namespace
