// The design-block format: the encoder's bytes, and the mass property setter reading them against the
// receiving object's class.

#include "framework/core/ClassRecord.h"
#include "framework/core/SetProperties.h"

#include <gtest/gtest.h>

#include <string>

using namespace Ovelund;
namespace d = Ovelund::design;

namespace {

std::string Bytes(std::initializer_list<int> values) {
    std::string bytes;
    for (int v : values)
        bytes.push_back(static_cast<char>(v));
    return bytes;
}

template <std::size_t N> std::string AsString(const std::array<char, N>& block) {
    return std::string(block.data(), block.size());
}

// A small class hierarchy that declares one property of every type, and a subclass that declares `Value`
// with another type than a sibling does.
class Sample : public Object {
    OVELUND_OBJECT
public:
    std::int32_t width = 7;
    bool visible = false;
    Color color{1, 2, 3};
    String text = "untouched";
    std::int32_t macProcId = 5;
    float textSize = 3.5f;

    void SetWidth(std::int32_t v) { width = v; }
    void SetVisible(bool v) { visible = v; }
    void SetColor(Color v) { color = v; }
    void SetText(const String& v) { text = v; }
    void SetMacProcId(std::int32_t v) { macProcId = v; }
    void SetTextSize(float v) { textSize = v; }
};

class BooleanValue : public Sample {
    OVELUND_OBJECT
public:
    bool value = false;
    void SetValue(bool v) { value = v; }
};

class IntegerValue : public Sample {
    OVELUND_OBJECT
public:
    std::int32_t value = 0;
    void SetValue(std::int32_t v) { value = v; }
};

const ClassRecord& Sample::Lookup() {
    static const ClassRecord record = ClassBuilder<Sample>("Sample", &Object::Lookup())
                                          .Property("Width", &Sample::SetWidth)
                                          .Property("Visible", &Sample::SetVisible)
                                          .Property("BackColor", &Sample::SetColor)
                                          .Property("Text", &Sample::SetText)
                                          .Property("MacProcId", &Sample::SetMacProcId)
                                          .Property("TextSize", &Sample::SetTextSize)
                                          .Build();
    return record;
}
const ClassRecord& BooleanValue::Lookup() {
    static const ClassRecord record = ClassBuilder<BooleanValue>("BooleanValue", &Sample::Lookup())
                                          .Property("Value", &BooleanValue::SetValue)
                                          .Build();
    return record;
}
const ClassRecord& IntegerValue::Lookup() {
    static const ClassRecord record = ClassBuilder<IntegerValue>("IntegerValue", &Sample::Lookup())
                                          .Property("Value", &IntegerValue::SetValue)
                                          .Build();
    return record;
}

} // namespace

TEST(DesignBlockEncoder, WritesTheDocumentedBytes) {
    struct Case {
        std::string encoded;
        std::string expected;
    };
    const Case cases[] = {
        {AsString(OVELUND_DESIGN_BLOCK(d::Int32{"Width", 700})), "Width " + Bytes({0x00, 0x00, 0x02, 0xBC})},
        {AsString(OVELUND_DESIGN_BLOCK(d::Int32{"HeadingIndex", -1})),
         "HeadingIndex " + Bytes({0xFF, 0xFF, 0xFF, 0xFF})},
        {AsString(OVELUND_DESIGN_BLOCK(d::Int32{"Index", -2147483647 - 1})),
         "Index " + Bytes({0x80, 0, 0, 0})},
        {AsString(OVELUND_DESIGN_BLOCK(d::Boolean{"Visible", true})), "Visible " + Bytes({0x01})},
        {AsString(OVELUND_DESIGN_BLOCK(d::Color{"TextColor", 0xFF, 0, 0})),
         "TextColor " + Bytes({0xFF, 0, 0})},
        {AsString(OVELUND_DESIGN_BLOCK(d::String{"Name", "ListBox1"})),
         "Name " + Bytes({0, 0, 0, 8}) + "ListBox1"},
        {AsString(OVELUND_DESIGN_BLOCK(d::String{"HelpTag", ""}, d::Int32{"Top", 13})),
         "HelpTag " + Bytes({0, 0, 0, 0}) + "Top " + Bytes({0, 0, 0, 0x0D})},
        {AsString(OVELUND_DESIGN_BLOCK(d::String{"Text", "a\rb"})), "Text " + Bytes({0, 0, 0, 3}) + "a\rb"},
        // UTF-8 text is counted in bytes.
        {AsString(OVELUND_DESIGN_BLOCK(d::String{"Text", "\xC3\xA9"})),
         "Text " + Bytes({0, 0, 0, 2}) + "\xC3\xA9"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.encoded, c.expected);
}

TEST(DesignBlockEncoder, TimerDesignIsTwentyBytes) {
    constexpr auto timer = OVELUND_DESIGN_BLOCK(d::Int32{"Mode", 0}, d::Int32{"Period", 20});
    static_assert(timer.size() == 20);
    EXPECT_EQ(AsString(timer), "Mode " + Bytes({0, 0, 0, 0}) + "Period " + Bytes({0, 0, 0, 0x14}));
}

TEST(SetProperties, ReadsEachValueByItsPropertyType) {
    Sample sample;
    SetProperties(sample, OVELUND_DESIGN_BLOCK(d::Int32{"Width", -1}, d::Boolean{"Visible", true},
                                               d::Color{"BackColor", 0xFF, 0x80, 0x00}, d::String{"Text", ""},
                                               d::Int32{"MacProcID", -2147483647 - 1}));
    EXPECT_EQ(sample.width, -1);
    EXPECT_TRUE(sample.visible);
    EXPECT_EQ(sample.color, (Color{0xFF, 0x80, 0x00}));
    EXPECT_EQ(sample.text, "");
    EXPECT_EQ(sample.macProcId, -2147483647 - 1); // key MacProcID sets the property MacProcId
    EXPECT_EQ(sample.textSize, 3.5f);             // a property the block does not name keeps its value
}

TEST(SetProperties, ValuesHoldingBlankOrCarriageReturnBytesDoNotEndTheEntry) {
    Sample sample;
    SetProperties(sample, OVELUND_DESIGN_BLOCK(d::Int32{"Width", 0x20200D0D}, d::String{"Text", "9 max\r x "},
                                               d::Boolean{"visible", true}));
    EXPECT_EQ(sample.width, 0x20200D0D);
    EXPECT_EQ(sample.text, "9 max\r x ");
    EXPECT_TRUE(sample.visible);
}

TEST(SetProperties, OneKeyTakesTheWidthOfItsClassesProperty) {
    BooleanValue radio;
    IntegerValue bar;
    SetProperties(radio, "Value " + Bytes({1}) + "Width " + Bytes({0, 0, 0, 9}));
    SetProperties(bar, "Value " + Bytes({0, 0, 0, 100}) + "Width " + Bytes({0, 0, 0, 9}));
    EXPECT_TRUE(radio.value);
    EXPECT_EQ(radio.width, 9);
    EXPECT_EQ(bar.value, 100);
    EXPECT_EQ(bar.width, 9);
}

TEST(SetProperties, EmptyBlockChangesNothing) {
    Sample sample;
    SetProperties(sample, std::string_view());
    EXPECT_EQ(sample.width, 7);
}

TEST(SetProperties, MalformedBlocksRaiseAndChangeNothing) {
    const std::string cases[] = {
        "Width",                                    // ends inside the key
        "Width " + Bytes({0, 0, 2}),                // ends inside an Int32
        "Text " + Bytes({0, 0, 0, 9}) + "short",    // a string longer than the block
        "Text " + Bytes({0xFF, 0xFF, 0xFF, 0xFF}),  // a length far past the end
        "Visible " + Bytes({2}),                    // a Boolean is 00 or 01
        "NoSuchKey " + Bytes({0, 0, 0, 0}),         // names no property
        " " + Bytes({0, 0, 0, 0}),                  // empty key
        "9Width " + Bytes({0, 0, 0, 0}),            // a key begins with a letter or underscore
        "Wi-dth " + Bytes({0, 0, 0, 0}),            // characters a key cannot hold
        "Width " + Bytes({0, 0, 0, 1}) + "Visible", // a good entry, then a broken one
    };
    for (const auto& block : cases) {
        SCOPED_TRACE(testing::PrintToString(block));
        Sample sample;
        EXPECT_THROW(SetProperties(sample, block), RuntimeException);
        EXPECT_EQ(sample.width, 7);
        EXPECT_FALSE(sample.visible);
    }
}
