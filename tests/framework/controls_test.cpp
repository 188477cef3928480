// The visual controls over real widgets: design keys reaching the widgets, the controls' events reaching
// bound handlers, the window's Return and Escape keys, containers, and the list's rows.

#include "framework/Runtime.h"
#include "framework/Window.h"
#include "framework/controls/GroupBox.h"
#include "framework/controls/Label.h"
#include "framework/controls/Listbox.h"
#include "framework/controls/ProgressBar.h"
#include "framework/controls/PushButton.h"
#include "framework/controls/RadioButton.h"
#include "framework/controls/TextField.h"
#include "framework/core/SetProperties.h"
#include "framework/qt/CompactListView.h"
#include "framework/qt/ControlNative.h"
#include "framework/qt/WindowNative.h"

#include <QApplication>
#include <QGroupBox>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string_view>
#include <vector>

using namespace Ovelund;
namespace d = Ovelund::design;

namespace {

constexpr std::int32_t kIntMin = std::numeric_limits<std::int32_t>::min();
constexpr std::int32_t kIntMax = std::numeric_limits<std::int32_t>::max();

// Design entries whose values are known only at run time (the compile-time encoder takes constants).
String Word(std::uint32_t value) {
    return {static_cast<char>(value >> 24), static_cast<char>(value >> 16), static_cast<char>(value >> 8),
            static_cast<char>(value)};
}
String Int32Entry(const String& key, std::int32_t value) {
    return key + ' ' + Word(static_cast<std::uint32_t>(value));
}
String StringEntry(const String& key, const String& value) {
    return key + ' ' + Word(static_cast<std::uint32_t>(value.size())) + value;
}

QString Q(const char* utf8) {
    return QString::fromUtf8(utf8);
}

// Receives the controls' events through delegates, as a window's handlers do.
class Recorder : public Object {
public:
    void OnButton(Ref<PushButton> sender) { buttons.push_back(sender); }
    void OnRadio(Ref<RadioButton> sender) { radios.push_back(sender); }
    void OnTextChange(Ref<TextField> sender) { texts.push_back(sender->Text()); }
    void OnSelChange(Ref<TextField> sender) { selections.push_back(sender->SelStart()); }
    void OnOpen(Ref<Label> sender) { opened.push_back(sender); }
    void Throw(Ref<TextField>) { throw RuntimeException("from the handler"); }

    std::vector<Ref<PushButton>> buttons;
    std::vector<Ref<RadioButton>> radios;
    std::vector<String> texts;
    std::vector<std::int32_t> selections;
    std::vector<Ref<Label>> opened;
};

template <class Handler>
void Bind(const Ref<Object>& control, int number, Handler handler, const char* signature,
          const Ref<Recorder>& to) {
    RuntimeAddEventHandler(*control, number, RuntimeCreateDelegate(handler, to, signature, true));
}

template <class W> W* WidgetOf(const RectControl& control) {
    return NativeWidget<W>(control.Native());
}

void SendKey(QWidget* to, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier, const QString& text = {},
             bool autoRepeat = false) {
    QKeyEvent press(QEvent::KeyPress, key, modifiers, text, autoRepeat);
    QApplication::sendEvent(to, &press);
    QKeyEvent release(QEvent::KeyRelease, key, modifiers, text, autoRepeat);
    QApplication::sendEvent(to, &release);
}

void Type(QWidget* to, const QString& text) {
    for (QChar c : text)
        SendKey(to, c.toUpper().unicode(), Qt::NoModifier, QString(c));
}

class ControlsTest : public ::testing::Test {
protected:
    void SetUp() override {
        RuntimeInit();
        window = std::make_shared<Window>();
        SetProperties(*window, OVELUND_DESIGN_BLOCK(d::Int32{"Width", 400}, d::Int32{"Height", 300}));
        window->Constructor();
        recorder = std::make_shared<Recorder>();
    }
    void TearDown() override {
        window->Close();
        window.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        RuntimeInit();
    }

    // New, construct, register and design, as a window's control creation does.
    template <class T> Ref<T> Make(const String& name, std::string_view design) {
        Ref<T> control = RuntimeCheckCast<T>(window->New(T::Lookup()));
        control->Constructor();
        window->AddControl(name, control);
        SetProperties(*control, design);
        return control;
    }
    template <class T, std::size_t N> Ref<T> Make(const String& name, const std::array<char, N>& design) {
        return Make<T>(name, d::View(design));
    }

    QWidget* Frame() const { return window->Native().frame; }
    QWidget* Content() const { return ContentWidget(*window); }

    Ref<Window> window;
    Ref<Recorder> recorder;
};

// ---------------------------------------------------------------------------------------------------------
// Class records

struct KeyCase {
    const ClassRecord& record;
    const char* key;
    PropertyType type;
};

TEST_F(ControlsTest, EveryDesignKeyNamesAPropertyOfItsType) {
    using T = PropertyType;
    const ClassRecord& label = Label::Lookup();
    const ClassRecord& button = PushButton::Lookup();
    const ClassRecord& field = TextField::Lookup();
    const ClassRecord& group = GroupBox::Lookup();
    const ClassRecord& radio = RadioButton::Lookup();
    const ClassRecord& bar = ProgressBar::Lookup();
    const ClassRecord& list = Listbox::Lookup();
    const std::vector<KeyCase> cases = {
        {label, "TextAlign", T::Int32},
        {label, "Multiline", T::Boolean},
        {label, "Selectable", T::Boolean},
        {label, "Transparent", T::Boolean},
        {label, "Bold", T::Boolean},
        {label, "Italic", T::Boolean},
        {label, "Underline", T::Boolean},
        {label, "TextColor", T::Color},
        {label, "Text", T::String},
        {label, "TextFont", T::String},
        {label, "DataSource", T::String},
        {label, "DataField", T::String},
        {label, "TextSize", T::Single},
        {label, "TextUnit", T::Byte},
        {button, "ButtonStyle", T::Int32},
        {button, "Default", T::Boolean},
        {button, "Cancel", T::Boolean},
        {button, "Bold", T::Boolean},
        {button, "Italic", T::Boolean},
        {button, "Underline", T::Boolean},
        {button, "Caption", T::String},
        {button, "TextFont", T::String},
        {field, "Alignment", T::Int32},
        {field, "LimitText", T::Int32},
        {field, "AcceptTabs", T::Boolean},
        {field, "Border", T::Boolean},
        {field, "Password", T::Boolean},
        {field, "ReadOnly", T::Boolean},
        {field, "UseFocusRing", T::Boolean},
        {field, "Bold", T::Boolean},
        {field, "Italic", T::Boolean},
        {field, "Underline", T::Boolean},
        {field, "AutomaticallyCheckSpelling", T::Boolean},
        {field, "BackColor", T::Color},
        {field, "TextColor", T::Color},
        {field, "Text", T::String},
        {field, "CueText", T::String},
        {field, "Format", T::String},
        {field, "Mask", T::String},
        {field, "TextFont", T::String},
        {field, "DataSource", T::String},
        {field, "DataField", T::String},
        {group, "Bold", T::Boolean},
        {group, "Italic", T::Boolean},
        {group, "Underline", T::Boolean},
        {group, "Caption", T::String},
        {group, "TextFont", T::String},
        {radio, "Value", T::Boolean},
        {radio, "Bold", T::Boolean},
        {radio, "Italic", T::Boolean},
        {radio, "Underline", T::Boolean},
        {radio, "Caption", T::String},
        {radio, "TextFont", T::String},
        {bar, "Maximum", T::Int32},
        {bar, "Value", T::Int32},
        {list, "ColumnCount", T::Int32},
        {list, "HeadingIndex", T::Int32},
        {list, "GridLinesHorizontal", T::Int32},
        {list, "GridLinesVertical", T::Int32},
        {list, "DefaultRowHeight", T::Int32},
        {list, "SelectionType", T::Int32},
        {list, "_ScrollWidth", T::Int32},
        {list, "_ScrollOffset", T::Int32},
        {list, "Border", T::Boolean},
        {list, "HasHeading", T::Boolean},
        {list, "UseFocusRing", T::Boolean},
        {list, "ScrollbarHorizontal", T::Boolean},
        {list, "ScrollBarVertical", T::Boolean},
        {list, "Hierarchical", T::Boolean},
        {list, "EnableDrag", T::Boolean},
        {list, "EnableDragReorder", T::Boolean},
        {list, "RequiresSelection", T::Boolean},
        {list, "ColumnsResizable", T::Boolean},
        {list, "AutoHideScrollbars", T::Boolean},
        {list, "Bold", T::Boolean},
        {list, "Italic", T::Boolean},
        {list, "Underline", T::Boolean},
        {list, "ColumnWidths", T::String},
        {list, "InitialValue", T::String},
        {list, "TextFont", T::String},
        {list, "DataSource", T::String},
        {list, "DataField", T::String},
    };
    for (const KeyCase& c : cases) {
        SCOPED_TRACE(c.record.FullName() + "." + c.key);
        const PropertyRecord* property = c.record.FindProperty(c.key);
        ASSERT_NE(property, nullptr);
        EXPECT_EQ(property->type, c.type);
        EXPECT_TRUE(property->set);
    }
    EXPECT_EQ(ProgressBar::Lookup().FindProperty("Caption"), nullptr);
}

TEST_F(ControlsTest, EventTablesNumberTheControlsOwnEventsFrom15) {
    ASSERT_NE(PushButton::Lookup().FindEvent(15), nullptr);
    EXPECT_EQ(PushButton::Lookup().FindEvent(15)->name, "Action");
    ASSERT_NE(RadioButton::Lookup().FindEvent(15), nullptr);
    EXPECT_EQ(RadioButton::Lookup().FindEvent(15)->name, "Action");
    ASSERT_NE(TextField::Lookup().FindEvent(20), nullptr);
    EXPECT_EQ(TextField::Lookup().FindEvent(20)->name, "SelChange");
    ASSERT_NE(TextField::Lookup().FindEvent(21), nullptr);
    EXPECT_EQ(TextField::Lookup().FindEvent(21)->name, "TextChange");
    for (const ClassRecord* record : {&Label::Lookup(), &Listbox::Lookup(), &TextField::Lookup()}) {
        ASSERT_NE(record->FindEvent(2), nullptr);
        EXPECT_EQ(record->FindEvent(2)->name, "Open");
    }
    EXPECT_TRUE(TextField::Lookup().InheritsFrom(TextEdit::Lookup()));
    EXPECT_EQ(RuntimeNewObject(TextEdit::Lookup()), nullptr) << "TextEdit is only a base";
}

// ---------------------------------------------------------------------------------------------------------
// Label

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
        {"9,999,999,999 max\rboth fields", true, Q("9,999,999,999 max\nboth fields")},
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
    label->SetText("9,999,999,999 max\rboth fields");
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

// ---------------------------------------------------------------------------------------------------------
// PushButton

TEST_F(ControlsTest, PushButtonDesignReachesItsWidgetAndClicksRaiseAction) {
    auto start = Make<PushButton>(
        "Start", OVELUND_DESIGN_BLOCK(d::Int32{"Left", 215}, d::Int32{"Top", 256}, d::Int32{"Width", 69},
                                      d::Int32{"Height", 20}, d::Boolean{"TabStop", true},
                                      d::String{"Caption", "Start"}, d::Boolean{"Default", true},
                                      d::Boolean{"Cancel", false}, d::Boolean{"Enabled", true},
                                      d::Int32{"ButtonStyle", 0}, d::String{"TextFont", "System"},
                                      d::Boolean{"Bold", false}, d::Boolean{"Italic", true}));
    auto* widget = WidgetOf<QPushButton>(*start);
    ASSERT_NE(widget, nullptr);
    EXPECT_EQ(widget->geometry(), QRect(215, 256, 69, 20));
    EXPECT_EQ(widget->text(), Q("Start"));
    EXPECT_TRUE(widget->isDefault()) << "the default button is drawn as such";
    EXPECT_TRUE(widget->font().italic());
    EXPECT_FALSE(widget->font().bold());

    Bind(start, PushButton::EventAction, &Recorder::OnButton, "( PushButton )", recorder);
    widget->click();
    ASSERT_EQ(recorder->buttons.size(), 1u);
    EXPECT_EQ(recorder->buttons[0], start);

    start->SetDefault(false);
    EXPECT_FALSE(widget->isDefault());
    // "&" is shown, not taken as an access-key mark.
    start->SetCaption("Save & Quit");
    EXPECT_EQ(widget->text(), Q("Save && Quit"));
    EXPECT_EQ(start->Caption(), "Save & Quit");
}

TEST_F(ControlsTest, ReturnPressesTheDefaultButtonAndEscapeTheCancelButton) {
    auto ok =
        Make<PushButton>("OK", OVELUND_DESIGN_BLOCK(d::String{"Caption", "OK"}, d::Boolean{"Default", true},
                                                    d::Boolean{"Cancel", false}));
    auto cancel = Make<PushButton>(
        "Cancel", OVELUND_DESIGN_BLOCK(d::Int32{"Left", 100}, d::String{"Caption", "Cancel"},
                                       d::Boolean{"Default", false}, d::Boolean{"Cancel", true}));
    auto field = Make<TextField>("Field", OVELUND_DESIGN_BLOCK(d::Int32{"Top", 50}, d::String{"Text", "2"}));
    Bind(ok, PushButton::EventAction, &Recorder::OnButton, "( PushButton )", recorder);
    Bind(cancel, PushButton::EventAction, &Recorder::OnButton, "( PushButton )", recorder);
    QWidget* edit = WidgetOf<QLineEdit>(*field);
    ASSERT_NE(edit, nullptr);

    SendKey(edit, Qt::Key_Return); // the field leaves Return to the window
    SendKey(Frame(), Qt::Key_Enter, Qt::KeypadModifier);
    SendKey(edit, Qt::Key_Escape);
    SendKey(Frame(), Qt::Key_Return, Qt::ControlModifier);      // not the plain key
    SendKey(Frame(), Qt::Key_Return, Qt::NoModifier, {}, true); // a held key presses once only
    EXPECT_EQ(recorder->buttons, (std::vector<Ref<PushButton>>{ok, ok, cancel}));
    EXPECT_EQ(field->Text(), "2");

    // A disabled or hidden button is not pressed.
    recorder->buttons.clear();
    ok->SetEnabled(false);
    cancel->SetVisible(false);
    SendKey(edit, Qt::Key_Return);
    SendKey(edit, Qt::Key_Escape);
    EXPECT_TRUE(recorder->buttons.empty());
}

TEST_F(ControlsTest, ReturnPressesTheLatestEnabledDefaultButton) {
    auto start = Make<PushButton>("Start", OVELUND_DESIGN_BLOCK(d::Boolean{"Default", true}));
    auto stop =
        Make<PushButton>("Stop", OVELUND_DESIGN_BLOCK(d::Int32{"Left", 100}, d::Boolean{"Default", false},
                                                      d::Boolean{"Enabled", false}));
    Bind(start, PushButton::EventAction, &Recorder::OnButton, "( PushButton )", recorder);
    Bind(stop, PushButton::EventAction, &Recorder::OnButton, "( PushButton )", recorder);
    auto pressed = [this] {
        recorder->buttons.clear();
        SendKey(Frame(), Qt::Key_Return);
        return recorder->buttons.empty() ? nullptr : recorder->buttons.front();
    };
    EXPECT_EQ(pressed(), start);

    // A search starts: Start disabled, Stop enabled and made default without clearing Start's Default.
    start->SetEnabled(false);
    stop->SetEnabled(true);
    stop->SetDefault(true);
    EXPECT_EQ(pressed(), stop);
    // Stop disables itself, keeping its Default: no button takes Return.
    stop->SetEnabled(false);
    EXPECT_EQ(pressed(), nullptr);
    // The search finishes.
    start->SetEnabled(true);
    EXPECT_EQ(pressed(), start) << "the latest default is disabled, so the earlier one takes Return";
    stop->SetDefault(false);
    start->SetDefault(true);
    stop->SetEnabled(true);
    EXPECT_EQ(pressed(), start);
    EXPECT_FALSE(WidgetOf<QPushButton>(*stop)->isDefault());
    // A closed button takes no key.
    start->Close();
    EXPECT_EQ(pressed(), nullptr);
}

// ---------------------------------------------------------------------------------------------------------
// TextField

TEST_F(ControlsTest, TextFieldDesignReachesItsWidget) {
    auto field = Make<TextField>(
        "EditField1",
        OVELUND_DESIGN_BLOCK(
            d::Int32{"Left", 281}, d::Int32{"Top", 74}, d::Int32{"Width", 98}, d::Int32{"Height", 21},
            d::Boolean{"Border", true}, d::Boolean{"Password", false}, d::Boolean{"UseFocusRing", true},
            d::Color{"TextColor", 0, 0, 0x80}, d::Color{"BackColor", 0xFF, 0xFF, 0xE0},
            d::Boolean{"Enabled", true}, d::String{"Format", ""}, d::String{"TextFont", "System"},
            d::Boolean{"Bold", true}, d::String{"CueText", "count"}, d::String{"Text", "500"},
            d::String{"Mask", ""}, d::Boolean{"ReadOnly", false}, d::Int32{"LimitText", 0},
            d::Boolean{"AcceptTabs", false}, d::Int32{"Alignment", 2},
            d::Boolean{"AutomaticallyCheckSpelling", true}));
    auto* edit = WidgetOf<QLineEdit>(*field);
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(edit->geometry(), QRect(281, 74, 98, 21));
    EXPECT_EQ(edit->text(), Q("500"));
    EXPECT_EQ(field->Text(), "500");
    EXPECT_EQ(edit->placeholderText(), Q("count"));
    EXPECT_EQ(edit->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
    EXPECT_TRUE(edit->hasFrame());
    EXPECT_EQ(edit->echoMode(), QLineEdit::Normal);
    EXPECT_FALSE(edit->isReadOnly());
    EXPECT_TRUE(edit->font().bold());
    EXPECT_EQ(edit->palette().color(QPalette::Active, QPalette::Text), QColor(0, 0, 0x80));
    EXPECT_EQ(edit->palette().color(QPalette::Active, QPalette::Base), QColor(0xFF, 0xFF, 0xE0));
    EXPECT_TRUE(field->AutomaticallyCheckSpelling());
    // Nothing limits what may be typed.
    EXPECT_GE(edit->maxLength(), 1'000'000);

    SetProperties(*field, OVELUND_DESIGN_BLOCK(d::Boolean{"Password", true}, d::Boolean{"ReadOnly", true},
                                               d::Boolean{"Border", false}, d::Int32{"Alignment", 3},
                                               d::Int32{"LimitText", 2}));
    EXPECT_EQ(edit->echoMode(), QLineEdit::Password);
    EXPECT_TRUE(edit->isReadOnly());
    EXPECT_FALSE(edit->hasFrame());
    EXPECT_EQ(edit->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignRight);
    EXPECT_EQ(edit->maxLength(), 2);
    EXPECT_EQ(field->Text(), "50") << "a new limit shortens the text";
    SetProperties(*field, Int32Entry("LimitText", kIntMin) + Int32Entry("Alignment", kIntMax));
    EXPECT_GE(edit->maxLength(), 1'000'000);
    EXPECT_EQ(edit->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignLeft);
}

TEST_F(ControlsTest, TextChangeIsRaisedForEveryChangeOfTheText) {
    auto field = Make<TextField>("EditField2", OVELUND_DESIGN_BLOCK(d::String{"Text", "2"}));
    Bind(field, TextField::EventTextChange, &Recorder::OnTextChange, "( TextField )", recorder);
    auto* edit = WidgetOf<QLineEdit>(*field);
    ASSERT_NE(edit, nullptr);
    EXPECT_TRUE(recorder->texts.empty()) << "the design's text is in place before the binding";

    edit->setCursorPosition(1);
    Type(edit, Q("50"));
    SendKey(edit, Qt::Key_Backspace);
    EXPECT_EQ(recorder->texts, (std::vector<String>{"25", "250", "25"}));
    EXPECT_EQ(field->Text(), "25");

    recorder->texts.clear();
    field->SetText("9,999");
    field->SetText("9,999"); // no change, no event
    field->SetText("");
    EXPECT_EQ(recorder->texts, (std::vector<String>{"9,999", ""}));

    // What a handler throws for a change the program made reaches the program.
    Bind(field, TextField::EventTextChange, &Recorder::Throw, "( TextField )", recorder);
    EXPECT_THROW(field->SetText("x"), RuntimeException);
    EXPECT_EQ(field->Text(), "x");
}

TEST_F(ControlsTest, TextFieldTabsAndHostileText) {
    auto field = Make<TextField>("Field", OVELUND_DESIGN_BLOCK(d::Boolean{"AcceptTabs", true}));
    auto* edit = WidgetOf<QLineEdit>(*field);
    ASSERT_NE(edit, nullptr);
    SendKey(edit, Qt::Key_Tab, Qt::NoModifier, Q("\t"));
    EXPECT_EQ(field->Text(), "\t");
    field->SetAcceptTabs(false);
    field->SetText("");
    SendKey(edit, Qt::Key_Tab, Qt::NoModifier, Q("\t"));
    EXPECT_EQ(field->Text(), "");

    field->SetText("a\xff\xc3(b");
    EXPECT_EQ(edit->text().count(QChar(0xFFFD)), 2);
    EXPECT_EQ(field->Text(), "a\xEF\xBF\xBD\xEF\xBF\xBD(b") << "read back as shown";
    field->SetText(String(1'000'000, 'x'));
    EXPECT_EQ(field->Text().size(), 1'000'000u);
}

TEST_F(ControlsTest, SelStartCountsCharactersAndClampsAnyValue) {
    auto field = Make<TextField>("Field", OVELUND_DESIGN_BLOCK(d::String{"Text", "a\xF0\x9F\x98\x80"
                                                                                 "bc"}));
    Bind(field, TextField::EventSelChange, &Recorder::OnSelChange, "( TextField )", recorder);
    auto* edit = WidgetOf<QLineEdit>(*field);
    ASSERT_NE(edit, nullptr);
    // Characters a, U+1F600 (two UTF-16 code units), b, c.
    const std::vector<std::tuple<std::int32_t, std::int32_t, int>> cases = {
        {1, 1, 1}, {2, 2, 3}, {4, 4, 5}, {0, 0, 0}, {5, 4, 5}, {-1, 0, 0}, {kIntMax, 4, 5}, {kIntMin, 0, 0},
    };
    for (auto [value, selStart, cursor] : cases) {
        SCOPED_TRACE(value);
        field->SetSelStart(value);
        EXPECT_EQ(field->SelStart(), selStart);
        EXPECT_EQ(edit->cursorPosition(), cursor);
    }
    EXPECT_EQ(recorder->selections, (std::vector<std::int32_t>{1, 2, 4, 0, 4, 0, 4, 0}));
    recorder->selections.clear();
    SendKey(edit, Qt::Key_End); // the user moves the insertion point
    SendKey(edit, Qt::Key_Left);
    EXPECT_EQ(recorder->selections, (std::vector<std::int32_t>{4, 3}));

    // With a selection, SelStart is where it begins.
    edit->setSelection(1, 3);
    EXPECT_EQ(field->SelStart(), 1);

    // Set before the field is constructed, the position is applied with it.
    auto later = RuntimeCheckCast<TextField>(window->New(TextField::Lookup()));
    later->SetText("2");
    later->SetSelStart(1);
    EXPECT_EQ(later->SelStart(), 1);
    later->Constructor();
    EXPECT_EQ(WidgetOf<QLineEdit>(*later)->cursorPosition(), 1);
    EXPECT_EQ(later->SelStart(), 1);
}

// ---------------------------------------------------------------------------------------------------------
// GroupBox and RadioButton

TEST_F(ControlsTest, GroupBoxHoldsItsChildrenAtTheirWindowPositions) {
    auto group = Make<GroupBox>(
        "GroupBox1",
        OVELUND_DESIGN_BLOCK(d::Int32{"Left", 217}, d::Int32{"Top", 15}, d::Int32{"Width", 159},
                             d::Int32{"Height", 269}, d::String{"Caption", "Choose desired mode"},
                             d::Boolean{"Bold", true}, d::String{"InitialParent", ""}));
    auto radio = Make<RadioButton>(
        "RadioButton1",
        OVELUND_DESIGN_BLOCK(d::Int32{"Left", 223}, d::Int32{"Top", 42}, d::Int32{"Width", 80},
                             d::Int32{"Height", 20}, d::String{"Caption", "Mode A"}, d::Boolean{"Bold", true},
                             d::Boolean{"Value", true}, d::String{"InitialParent", "GroupBox1"}));
    auto label =
        Make<Label>("StaticText5",
                    OVELUND_DESIGN_BLOCK(d::Int32{"Left", 227}, d::Int32{"Top", 67}, d::Int32{"Width", 134},
                                         d::Int32{"Height", 99}, d::String{"Text", "Choose this mode"},
                                         d::Boolean{"Multiline", true}, d::Boolean{"Transparent", false},
                                         d::String{"InitialParent", "GroupBox1"}));
    auto* box = WidgetOf<QGroupBox>(*group);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->title(), Q("Choose desired mode"));
    EXPECT_TRUE(box->font().bold());
    EXPECT_EQ(box->geometry(), QRect(217, 15, 159, 269));
    QWidget* radioWidget = WidgetOf<QRadioButton>(*radio);
    QWidget* labelWidget = WidgetOf<QLabel>(*label);
    ASSERT_NE(radioWidget, nullptr);
    ASSERT_NE(labelWidget, nullptr);
    EXPECT_EQ(radioWidget->parentWidget(), box);
    EXPECT_EQ(labelWidget->parentWidget(), box);
    EXPECT_EQ(radioWidget->geometry(), QRect(6, 27, 80, 20));
    EXPECT_EQ(radioWidget->mapTo(Content(), QPoint(0, 0)), QPoint(223, 42));
    EXPECT_EQ(labelWidget->mapTo(Content(), QPoint(0, 0)), QPoint(227, 67));
    EXPECT_TRUE(radioWidget->isVisible());

    // Disabling the group disables its children; enabling it gives them back their own state.
    label->SetEnabled(false);
    group->SetEnabled(false);
    EXPECT_FALSE(radioWidget->isEnabled());
    EXPECT_FALSE(labelWidget->isEnabled());
    group->SetEnabled(true);
    EXPECT_TRUE(radioWidget->isEnabled());
    EXPECT_FALSE(labelWidget->isEnabled());
    group->SetVisible(false);
    EXPECT_FALSE(radioWidget->isVisible());
}

TEST_F(ControlsTest, RadioButtonsOfOneContainerExcludeEachOther) {
    Make<GroupBox>("GroupBox1", OVELUND_DESIGN_BLOCK(d::Int32{"Left", 200}, d::Int32{"Top", 10},
                                                     d::Int32{"Width", 150}, d::Int32{"Height", 200}));
    auto modeA = Make<RadioButton>(
        "RadioButton1",
        OVELUND_DESIGN_BLOCK(d::Int32{"Left", 206}, d::Int32{"Top", 40}, d::String{"Caption", "Mode A"},
                             d::Boolean{"Value", true}, d::String{"InitialParent", "GroupBox1"}));
    auto modeB = Make<RadioButton>(
        "RadioButton2",
        OVELUND_DESIGN_BLOCK(d::Int32{"Left", 206}, d::Int32{"Top", 100}, d::String{"Caption", "Mode B"},
                             d::Boolean{"Value", false}, d::String{"InitialParent", "GroupBox1"}));
    auto outside =
        Make<RadioButton>("Outside", OVELUND_DESIGN_BLOCK(d::Int32{"Top", 250}, d::Boolean{"Value", true}));
    Bind(modeA, RadioButton::EventAction, &Recorder::OnRadio, "( RadioButton )", recorder);
    Bind(modeB, RadioButton::EventAction, &Recorder::OnRadio, "( RadioButton )", recorder);
    auto* a = WidgetOf<QRadioButton>(*modeA);
    auto* b = WidgetOf<QRadioButton>(*modeB);
    ASSERT_NE(a, nullptr);
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(a->text(), Q("Mode A"));
    EXPECT_TRUE(modeA->Value());
    EXPECT_FALSE(modeB->Value());
    EXPECT_TRUE(outside->Value()) << "another container";

    // The user picks Mode B, then Mode A again, then clicks Mode A once more.
    b->click();
    EXPECT_FALSE(modeA->Value());
    EXPECT_TRUE(modeB->Value());
    EXPECT_TRUE(outside->Value());
    a->click();
    a->click();
    EXPECT_TRUE(modeA->Value());
    EXPECT_FALSE(modeB->Value());
    EXPECT_EQ(recorder->radios, (std::vector<Ref<RadioButton>>{modeB, modeA, modeA}));

    // The program's changes exclude too, and raise nothing.
    recorder->radios.clear();
    modeB->SetValue(true);
    EXPECT_FALSE(modeA->Value());
    EXPECT_FALSE(a->isChecked());
    modeB->SetValue(false);
    EXPECT_FALSE(modeB->Value());
    EXPECT_FALSE(b->isChecked());
    EXPECT_TRUE(recorder->radios.empty());
}

// ---------------------------------------------------------------------------------------------------------
// ProgressBar

TEST_F(ControlsTest, ValueIsOneByteForARadioButtonAndFourForAProgressBar) {
    auto radio =
        Make<RadioButton>("Radio", OVELUND_DESIGN_BLOCK(d::Boolean{"Value", true}, d::Int32{"Top", 7}));
    auto bar = Make<ProgressBar>(
        "Bar", OVELUND_DESIGN_BLOCK(d::Int32{"Maximum", 200}, d::Int32{"Value", 42}, d::Int32{"Top", 9}));
    EXPECT_TRUE(WidgetOf<QRadioButton>(*radio)->isChecked());
    EXPECT_EQ(radio->Top(), 7);
    auto* widget = WidgetOf<QProgressBar>(*bar);
    ASSERT_NE(widget, nullptr);
    EXPECT_EQ(widget->maximum(), 200);
    EXPECT_EQ(widget->value(), 42);
    EXPECT_EQ(bar->Top(), 9);
    // Each class reads its own encoding; the other one's is a malformed block.
    EXPECT_THROW(SetProperties(*bar, OVELUND_DESIGN_BLOCK(d::Boolean{"Value", true})), RuntimeException);
    EXPECT_THROW(SetProperties(*radio, OVELUND_DESIGN_BLOCK(d::Int32{"Value", 2})), RuntimeException);
    EXPECT_EQ(widget->value(), 42);
}

TEST_F(ControlsTest, ProgressBarShowsValuesClampedAndZeroMaximumAsBusy) {
    auto bar = Make<ProgressBar>("Bar", OVELUND_DESIGN_BLOCK(d::Int32{"Maximum", 100}, d::Int32{"Value", 0}));
    auto* widget = WidgetOf<QProgressBar>(*bar);
    ASSERT_NE(widget, nullptr);
    const std::vector<std::tuple<std::int32_t, std::int32_t, int, int>> cases = {
        // Maximum, Value, shown maximum, shown value
        {100, 50, 100, 50},     {100, 150, 100, 100}, {100, -5, 100, 0}, {kIntMax, kIntMax, kIntMax, kIntMax},
        {100, kIntMin, 100, 0}, {0, 5, 0, 0},         {-7, 3, 0, 0},     {kIntMin, kIntMin, 0, 0},
    };
    for (auto [maximum, value, shownMaximum, shownValue] : cases) {
        SCOPED_TRACE(testing::Message() << maximum << " " << value);
        SetProperties(*bar, Int32Entry("Maximum", maximum) + Int32Entry("Value", value));
        EXPECT_EQ(widget->minimum(), 0);
        EXPECT_EQ(widget->maximum(), shownMaximum);
        EXPECT_EQ(widget->value(), shownValue);
        EXPECT_EQ(bar->Value(), value);
        EXPECT_EQ(bar->Maximum(), maximum);
    }
}

// ---------------------------------------------------------------------------------------------------------
// Listbox

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
