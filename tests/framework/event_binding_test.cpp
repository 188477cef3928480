// Binding a handler to an event checks it against the event that the source's class declares: a handler of
// another signature, an event the class does not declare or never raises, and a signature text that does
// not describe the handler are refused when they are bound, and nothing is bound.

#include "framework/controls/Label.h"
#include "framework/controls/PushButton.h"
#include "framework/controls/TextField.h"
#include "framework/controls/Timer.h"
#include "framework/core/ClassRecord.h"
#include "framework/core/Delegate.h"
#include "framework/core/EventSource.h"
#include "framework/net/HTTPSocket.h"
#include "framework/windows/Window.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

using namespace Ovelund;

namespace {

// A window's own timer class, as a window holds one: handlers take it as its framework class.
class OwnTimer : public Timer {
    OVELUND_OBJECT
};
const ClassRecord& OwnTimer::Lookup() {
    static const ClassRecord record = ClassBuilder<OwnTimer>("Owner.OwnTimer", &Timer::Lookup()).Build();
    return record;
}

class Handlers : public Object {
public:
    void OnButton(Ref<PushButton>) { calls.push_back("button"); }
    void OnField(Ref<TextField>) { calls.push_back("field"); }
    void OnLabel(Ref<Label>) { calls.push_back("label"); }
    void OnControl(Ref<Control>) { calls.push_back("control"); }
    void OnTimer(Ref<Timer>) { calls.push_back("timer"); }
    void OnTimerCount(Ref<Timer>, std::int32_t) { calls.push_back("timer count"); }
    void OnPage(Ref<HTTPSocket>, String, std::int32_t, Ref<InternetHeaders>, String) {
        calls.push_back("page");
    }
    void OnError(Ref<HTTPSocket>, std::int32_t) { calls.push_back("error"); }
    bool MenuHandler() { return false; }

    std::vector<String> calls;
};

struct RefusedCase {
    const char* what;
    Ref<Object> source;
    int number;
    Ref<DelegateBase> delegate;
    std::vector<String> named; // what the refusal names: the class, the event, the signatures
};

bool Names(const String& message, const String& part) {
    return message.find(part) != String::npos;
}

} // namespace

TEST(EventBinding, AHandlerThatDoesNotFitItsEventIsRefusedWhenItIsBound) {
    auto handlers = std::make_shared<Handlers>();
    auto button = std::make_shared<PushButton>();
    auto field = std::make_shared<TextField>();
    auto label = std::make_shared<Label>();
    auto timer = std::make_shared<Timer>();
    auto socket = std::make_shared<HTTPSocket>();
    auto make = [&](auto handler, const char* text) -> Ref<DelegateBase> {
        return RuntimeCreateDelegate(handler, handlers, text, true);
    };
    const String page = "( HTTPSocket, String, Int32, InternetHeaders, String )";
    const std::vector<RefusedCase> cases = {
        {"a handler of another control class",
         button,
         PushButton::EventAction,
         make(&Handlers::OnField, "( TextField )"),
         {"PushButton", "Action", "( PushButton )", "( TextField )"}},
        {"an error handler for the page",
         socket,
         HTTPSocket::EventPageReceived,
         make(&Handlers::OnError, "( HTTPSocket, Int32 )"),
         {"HTTPSocket", "PageReceived", page, "( HTTPSocket, Int32 )"}},
        {"a page handler for the error",
         socket,
         HTTPSocket::EventError,
         make(&Handlers::OnPage, page.c_str()),
         {"HTTPSocket", "Error", "( HTTPSocket, Int32 )", page}},
        {"a tick handler with an argument the tick does not pass",
         timer,
         Timer::EventAction,
         make(&Handlers::OnTimerCount, "( Timer, Int32 )"),
         {"Timer", "Action", "( Timer )", "( Timer, Int32 )"}},
        {"a menu handler",
         button,
         PushButton::EventAction,
         make(&Handlers::MenuHandler, "(  ) as Boolean"),
         {"PushButton", "Action", "(  ) as Boolean"}},
        {"an event number the class does not declare",
         field,
         15,
         make(&Handlers::OnField, "( TextField )"),
         {"TextField", "15"}},
        {"a number past every event",
         button,
         99,
         make(&Handlers::OnButton, "( PushButton )"),
         {"PushButton", "99"}},
        {"an event the framework never raises",
         label,
         RectControl::EventKeyDown,
         make(&Handlers::OnLabel, "( Label )"),
         {"Label", "KeyDown"}},
        {"a client event the framework never raises",
         socket,
         HTTPSocket::EventProxyAuthenticationRequired,
         make(&Handlers::OnError, "( HTTPSocket, Int32 )"),
         {"HTTPSocket", "ProxyAuthenticationRequired"}},
        {"a signature text that names another class",
         button,
         PushButton::EventAction,
         make(&Handlers::OnButton, "( Control )"),
         {"PushButton", "Action", "( Control )", "( PushButton )"}},
        {"a signature text that names other arguments",
         socket,
         HTTPSocket::EventPageReceived,
         make(&Handlers::OnPage, "( HTTPSocket, String, Int32, String, String )"),
         {"HTTPSocket", "PageReceived", "( HTTPSocket, String, Int32, String, String )", page}},
        {"a signature text without its blanks",
         timer,
         Timer::EventAction,
         make(&Handlers::OnTimer, "(Timer)"),
         {"Timer", "Action", "(Timer)", "( Timer )"}},
    };
    for (const RefusedCase& c : cases) {
        SCOPED_TRACE(c.what);
        try {
            RuntimeAddEventHandler(*c.source, c.number, c.delegate);
            ADD_FAILURE() << "bound";
        } catch (const RuntimeException& e) {
            for (const String& part : c.named)
                EXPECT_TRUE(Names(e.Message(), part)) << e.Message() << " does not name " << part;
        }
    }
    EXPECT_THROW(RuntimeAddEventHandler(*button, PushButton::EventAction, nullptr), NilObjectException);
}

TEST(EventBinding, ARefusedHandlerLeavesTheEarlierBindingInPlace) {
    auto handlers = std::make_shared<Handlers>();
    auto label = std::make_shared<Label>();
    auto timer = std::make_shared<Timer>();
    RuntimeAddEventHandler(*label, Control::EventOpen,
                           RuntimeCreateDelegate(&Handlers::OnLabel, handlers, "( Label )", true));
    RuntimeAddEventHandler(*timer, Timer::EventAction,
                           RuntimeCreateDelegate(&Handlers::OnTimer, handlers, "( Timer )", true));
    EXPECT_THROW(
        RuntimeAddEventHandler(*label, Control::EventOpen,
                               RuntimeCreateDelegate(&Handlers::OnButton, handlers, "( PushButton )", true)),
        RuntimeException);
    EXPECT_THROW(
        RuntimeAddEventHandler(*timer, Timer::EventAction,
                               RuntimeCreateDelegate(&Handlers::OnTimer, handlers, "( Control )", true)),
        RuntimeException);
    label->RaiseOpen();
    timer->Tick();
    EXPECT_EQ(handlers->calls, (std::vector<String>{"label", "timer"}));
}

TEST(EventBinding, AHandlerMayTakeItsSenderAsABaseOfTheSourcesClass) {
    auto handlers = std::make_shared<Handlers>();
    auto label = std::make_shared<Label>();
    auto timer = std::make_shared<OwnTimer>();
    RuntimeAddEventHandler(*label, Control::EventOpen,
                           RuntimeCreateDelegate(&Handlers::OnControl, handlers, "( Control )", true));
    RuntimeAddEventHandler(*timer, Timer::EventAction,
                           RuntimeCreateDelegate(&Handlers::OnTimer, handlers, "( Timer )", true));
    label->RaiseOpen();
    timer->Tick();
    EXPECT_EQ(handlers->calls, (std::vector<String>{"control", "timer"}));
}

TEST(EventBinding, TheEventTablesDeclareWhatTheirClassesRaise) {
    struct Declared {
        const ClassRecord& record;
        int number;
        const char* name;
        const char* arguments; // nullptr: never raised
    };
    const std::vector<Declared> cases = {
        {Control::Lookup(), Control::EventClose, "Close", ""},
        {Control::Lookup(), Control::EventCreatePane, "CreatePane", nullptr},
        {Label::Lookup(), Control::EventOpen, "Open", ""},
        {Label::Lookup(), RectControl::EventConstructContextualMenu, "ConstructContextualMenu", nullptr},
        {Label::Lookup(), RectControl::EventMouseExit, "MouseExit", nullptr},
        {PushButton::Lookup(), PushButton::EventAction, "Action", ""},
        {TextField::Lookup(), TextField::EventSelChange, "SelChange", ""},
        {Timer::Lookup(), Timer::EventAction, "Action", ""},
        {TCPSocket::Lookup(), SocketCore::EventError, "Error", ""},
        {TCPSocket::Lookup(), SocketCore::EventSendProgress, "SendProgress", nullptr},
        {HTTPSocket::Lookup(), HTTPSocket::EventError, "Error", "Int32"},
        {HTTPSocket::Lookup(), HTTPSocket::EventPageReceived, "PageReceived",
         "String, Int32, InternetHeaders, String"},
        {HTTPSocket::Lookup(), HTTPSocket::EventReceiveProgress, "ReceiveProgress", nullptr},
        {Window::Lookup(), Window::EventActivate, "Activate", nullptr},
        {Window::Lookup(), Window::EventCreateControls, "CreateControls", ""},
        {Window::Lookup(), Window::EventSetupBindings, "SetupBindings", nullptr},
    };
    for (const Declared& c : cases) {
        SCOPED_TRACE(c.record.FullName() + " " + c.name);
        const EventRecord* event = c.record.FindEvent(c.number);
        ASSERT_NE(event, nullptr);
        EXPECT_EQ(event->name, c.name);
        ASSERT_EQ(event->arguments.has_value(), c.arguments != nullptr);
        if (c.arguments) {
            EXPECT_EQ(event->arguments->names, c.arguments);
        }
    }
    EXPECT_EQ(Window::Lookup().Events().size(), 33u);
    EXPECT_EQ(PushButton::Lookup().Events().size(), 16u) << "Control's 3, RectControl's 12, then Action";
    EXPECT_EQ(HTTPSocket::Lookup().Events().size(), 13u) << "SocketCore's 5, then the client's 8";
}

TEST(EventBinding, AClassDeclaresEachEventNumberOnceAndHandlesOnlyWhatItsBaseRaises) {
    class Base : public Window {};
    EXPECT_THROW(ClassBuilder<Base>("Twice", &Window::Lookup()).Event<>(Window::EventOpen, "Opened"),
                 RuntimeException);
    EXPECT_THROW(ClassBuilder<Base>("Twice", &Object::Lookup()).Event<>(1, "One").NeverRaised(1, "Again"),
                 RuntimeException);
    auto handler = static_cast<void (Base::*)()>(&Window::Show);
    EXPECT_THROW(ClassBuilder<Base>("Paints", &Window::Lookup()).Handles(Window::EventPaint, handler),
                 RuntimeException);
    EXPECT_THROW(ClassBuilder<Base>("Beyond", &Window::Lookup()).Handles(33, handler), RuntimeException);
    const ClassRecord record =
        ClassBuilder<Base>("Opens", &Window::Lookup()).Handles(Window::EventOpen, handler).Build();
    EXPECT_TRUE(record.FindEvent(Window::EventOpen)->handler);
}
