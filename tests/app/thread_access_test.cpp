// Windows, controls and menus belong to the user-interface thread: every property setter of every registered
// class, the framework's and the program's, and every other method that changes a window, a control, a timer
// or a socket, refuses another thread before it changes anything.

#include "app/Startup.h"
#include "framework/controls/Listbox.h"
#include "framework/controls/Timer.h"
#include "framework/core/ClassRecord.h"
#include "framework/core/Exceptions.h"
#include "framework/net/HTTPSocket.h"
#include "framework/startup/Startup.h"
#include "framework/windows/Window.h"

#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <string>
#include <thread>
#include <vector>

using namespace Ovelund;

namespace {

// A value of the property's type, other than what a fresh object holds where that matters little: the
// setter must refuse before it looks at the value.
PropertyValue SomeValue(PropertyType type) {
    switch (type) {
    case PropertyType::Int32:
        return std::int32_t{7};
    case PropertyType::Boolean:
        return true;
    case PropertyType::Color:
        return Color{1, 2, 3};
    case PropertyType::String:
        return String("x");
    case PropertyType::Single:
        return 7.0f;
    case PropertyType::Byte:
        return std::uint8_t{7};
    }
    return std::int32_t{0};
}

// What a call made on another thread ended with.
enum class Outcome { Refused, Accepted, OtherException };

Outcome CallFromAnotherThread(const std::function<void()>& call) {
    Outcome outcome = Outcome::Accepted;
    std::thread other([&] {
        try {
            call();
        } catch (const ThreadAccessingUIException&) {
            outcome = Outcome::Refused;
        } catch (...) {
            outcome = Outcome::OtherException;
        }
    });
    other.join();
    return outcome;
}

} // namespace

TEST(ThreadAccess, EveryRegisteredPropertySetterRefusesAnotherThread) {
    RuntimeInit();
    Initialize();
    std::set<std::string> accepted; // by the class that declares the property
    std::size_t checked = 0;
    for (const ClassRecord* record : RuntimeRegisteredClasses()) {
        Ref<Object> object = RuntimeNewObject(*record);
        if (!object)
            continue; // a class with no objects of its own: its subclasses carry its properties
        for (const ClassRecord* declaring = record; declaring; declaring = declaring->Base()) {
            for (const PropertyRecord& property : declaring->Properties()) {
                if (!property.set)
                    continue;
                ++checked;
                const Outcome outcome =
                    CallFromAnotherThread([&] { property.set(*object, SomeValue(property.type)); });
                if (outcome != Outcome::Refused)
                    accepted.insert(declaring->FullName() + "." + property.name +
                                    (outcome == Outcome::OtherException ? " (other exception)" : ""));
            }
        }
    }
    EXPECT_GT(checked, 200u);
    std::string list;
    for (const std::string& name : accepted)
        list += " " + name;
    EXPECT_TRUE(accepted.empty()) << "setters that let another thread in:" << list;
}

// The methods beyond the property setters. Each is called on an object for which, were the test missing, the
// call would return at once without touching the toolkit: a window that is not built (or, for Constructor,
// one that is), controls and sockets that are not constructed.
TEST(ThreadAccess, EveryMethodThatChangesAWindowControlTimerOrSocketRefusesAnotherThread) {
    RuntimeInit();
    auto fresh = std::make_shared<Window>();
    auto built = std::make_shared<Window>();
    built->Constructor();
    auto list = std::static_pointer_cast<Listbox>(RuntimeNewObject(Listbox::Lookup()));
    auto timer = std::make_shared<Timer>();
    timer->SetMode(Timer::ModeOff);
    auto client = std::make_shared<HTTPSocket>();
    std::string accepted;
    auto expectRefused = [&](const char* name, const std::function<void()>& call) {
        if (const Outcome outcome = CallFromAnotherThread(call); outcome != Outcome::Refused)
            accepted +=
                std::string(" ") + name + (outcome == Outcome::OtherException ? " (other exception)" : "");
    };
    expectRefused("Window.Constructor", [&] { built->Constructor(); });
    expectRefused("Window.Show", [&] { fresh->Show(); });
    expectRefused("Window.ShowModal", [&] { fresh->ShowModal(); });
    expectRefused("Window.Hide", [&] { fresh->Hide(); });
    expectRefused("Window.Close", [&] { fresh->Close(); });
    expectRefused("Window.UnifiedClose", [&] { fresh->UnifiedClose(false); });
    expectRefused("Window.AddControl", [&] { fresh->AddControl("x", list); });
    expectRefused("Window.MenuBar", [&] { fresh->SetMenuBar(nullptr); });
    expectRefused("Window.ApplyTabOrder", [&] { fresh->ApplyTabOrder(); });
    expectRefused("Control.Close", [&] { list->Close(); });
    expectRefused("RectControl.Refresh", [&] { list->Refresh(true); });
    expectRefused("Listbox.AddRow", [&] { list->AddRow("x"); });
    expectRefused("Listbox.AddRow with cells", [&] { list->AddRow(std::vector<String>{"x", "y"}); });
    expectRefused("Listbox.Cell", [&] { list->SetCell(0, 0, "x"); });
    expectRefused("Listbox.DeleteAllRows", [&] { list->DeleteAllRows(); });
    expectRefused("Listbox.ScrollPosition", [&] { list->SetScrollPosition(0); });
    expectRefused("Listbox.ColumnAlignment", [&] { list->SetColumnAlignment(0, 1); });
    expectRefused("Timer.Reset", [&] { timer->Reset(); });
    expectRefused("Timer.Tick", [&] { timer->Tick(); });
    expectRefused("TCPSocket.Connect", [&] { client->Connect(); });
    expectRefused("TCPSocket.Write", [&] { client->Write("x"); });
    expectRefused("TCPSocket.ReadAll", [&] { client->ReadAll(); });
    expectRefused("TCPSocket.Close", [&] { client->Close(); });
    expectRefused("HTTPSocket.Get", [&] { client->Get(""); });
    EXPECT_TRUE(accepted.empty()) << "methods that let another thread in:" << accepted;
    built->Close();
}
