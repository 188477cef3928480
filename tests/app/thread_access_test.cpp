// Windows, controls and menus belong to the user-interface thread: every property setter of every registered
// class, the framework's and the program's, refuses another thread before it changes anything.

#include "app/Startup.h"
#include "framework/core/ClassRecord.h"
#include "framework/core/Exceptions.h"
#include "framework/startup/Startup.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <thread>

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

Outcome CallFromAnotherThread(const PropertyRecord& property, Object& object) {
    Outcome outcome = Outcome::Accepted;
    std::thread other([&] {
        try {
            property.set(object, SomeValue(property.type));
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
                const Outcome outcome = CallFromAnotherThread(property, *object);
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
