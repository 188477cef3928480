// Class records, nil tests, casts, delegates and event dispatch by number.

#include "framework/controls/Timer.h"
#include "framework/core/ClassRecord.h"
#include "framework/core/Delegate.h"
#include "framework/core/EventSource.h"
#include "framework/windows/Window.h"
#include "framework/windows/WindowPattern.h"

#include <gtest/gtest.h>

using namespace Ovelund;

namespace {

class Base : public Object {
    OVELUND_OBJECT
public:
    std::int32_t left = 0;
    void SetLeft(std::int32_t v) { left = v; }
    std::int32_t Left() const { return left; }
};

class Derived : public Base {
    OVELUND_OBJECT
public:
    String caption;
    void SetCaption(const String& v) { caption = v; }
};

class Unrelated : public Object {
    OVELUND_OBJECT
};

const ClassRecord& Base::Lookup() {
    static const ClassRecord record =
        ClassBuilder<Base>("Base", &Object::Lookup()).Property("Left", &Base::SetLeft, &Base::Left).Build();
    return record;
}
const ClassRecord& Derived::Lookup() {
    static const ClassRecord record = ClassBuilder<Derived>("Module.Derived", &Base::Lookup())
                                          .Property("Caption", &Derived::SetCaption)
                                          .Build();
    return record;
}
const ClassRecord& Unrelated::Lookup() {
    static const ClassRecord record = ClassBuilder<Unrelated>("Unrelated", &Object::Lookup()).Build();
    return record;
}

// An event source that raises event 15 with an Int32 argument, and a target that records what reaches it.
class Source : public Object, public EventSource {
    OVELUND_OBJECT
public:
    void Fire(std::int32_t value) { RaiseEvent(15, shared_from_this(), value); }
    // Raises the event with an argument of another type than the one it declares.
    void FireText(String value) { RaiseEvent(15, shared_from_this(), std::move(value)); }
};
const ClassRecord& Source::Lookup() {
    static const ClassRecord record =
        ClassBuilder<Source>("Source", &Object::Lookup()).Event<std::int32_t>(15, "Fired").Build();
    return record;
}

class Target : public Object {
public:
    std::vector<std::int32_t> received;
    Source* lastSender = nullptr;
    void OnFired(Ref<Source> sender, std::int32_t value) {
        lastSender = sender.get();
        received.push_back(value);
    }
    bool MenuHandler() { return false; }
};

} // namespace

TEST(ClassRecord, DescribesNameBaseAndFactory) {
    const ClassRecord& record = Derived::Lookup();
    EXPECT_EQ(record.FullName(), "Module.Derived");
    EXPECT_EQ(record.Base(), &Base::Lookup());
    EXPECT_TRUE(record.InheritsFrom(Object::Lookup()));
    EXPECT_FALSE(Base::Lookup().InheritsFrom(record));
    Ref<Object> made = RuntimeNewObject(record);
    ASSERT_TRUE(made);
    EXPECT_EQ(&made->Record(), &record);
    EXPECT_EQ(&Derived::Lookup(), &record) << "a record is built once";
}

TEST(ClassRecord, FindsPropertiesUpTheBasesWithoutRegardToCase) {
    const ClassRecord& record = Derived::Lookup();
    for (const char* name : {"Left", "left", "LEFT", "Caption", "cAPTION"})
        EXPECT_NE(record.FindProperty(name), nullptr) << name;
    EXPECT_EQ(record.FindProperty("Lefty"), nullptr);
    EXPECT_EQ(Base::Lookup().FindProperty("Caption"), nullptr);
    EXPECT_EQ(record.FindProperty("left")->type, PropertyType::Int32);
    EXPECT_EQ(record.FindProperty("caption")->type, PropertyType::String);
}

TEST(ClassRecord, RegistrationKeepsTheOrderGivenAndIgnoresRepeats) {
    RuntimeRegisterClass(Base::Lookup());
    RuntimeRegisterClass(Derived::Lookup());
    RuntimeRegisterClass(Base::Lookup());
    const auto& registered = RuntimeRegisteredClasses();
    auto base = std::find(registered.begin(), registered.end(), &Base::Lookup());
    auto derived = std::find(registered.begin(), registered.end(), &Derived::Lookup());
    ASSERT_NE(base, registered.end());
    ASSERT_NE(derived, registered.end());
    EXPECT_LT(base, derived);
    EXPECT_EQ(std::count(registered.begin(), registered.end(), &Base::Lookup()), 1);
    EXPECT_EQ(RuntimeFindClass("Module.Derived"), &Derived::Lookup());
}

TEST(CheckNil, RaisesNilObjectExceptionOnMissingObjects) {
    Ref<Base> missing;
    EXPECT_THROW(CheckNil(missing), NilObjectException);
    auto present = std::make_shared<Base>();
    EXPECT_EQ(&CheckNil(present), present.get());
}

TEST(RuntimeCheckCast, PassesNilTestsTheClassAndRaisesOnAWrongOne) {
    Ref<Object> nothing;
    EXPECT_EQ(RuntimeCheckCast<Base>(nothing), nullptr);
    Ref<Object> derived = std::make_shared<Derived>();
    EXPECT_TRUE(RuntimeCheckCast<Base>(derived));
    EXPECT_TRUE(RuntimeCheckCast<Derived>(derived));
    Ref<Object> other = std::make_shared<Unrelated>();
    EXPECT_THROW(RuntimeCheckCast<Base>(other), IllegalCastException);
}

TEST(Delegate, KeepsItsSignatureAndCallsItsTarget) {
    auto target = std::make_shared<Target>();
    auto delegate = RuntimeCreateDelegate(&Target::MenuHandler, target, "(  ) as Boolean", false);
    EXPECT_EQ(delegate->Signature(), "(  ) as Boolean");
    EXPECT_FALSE(delegate->WeakTarget());
    EXPECT_FALSE(delegate->Invoke());
}

TEST(Delegate, StrongTargetKeepsItAliveWeakTargetDoesNot) {
    auto strongTarget = std::make_shared<Target>();
    WeakRef<Target> strongWatch = strongTarget;
    auto strong = RuntimeCreateDelegate(&Target::MenuHandler, strongTarget, "(  ) as Boolean", false);
    strongTarget.reset();
    EXPECT_FALSE(strongWatch.expired());

    auto weakTarget = std::make_shared<Target>();
    WeakRef<Target> weakWatch = weakTarget;
    auto weak = RuntimeCreateDelegate(&Target::MenuHandler, weakTarget, "(  ) as Boolean", true);
    weakTarget.reset();
    EXPECT_TRUE(weakWatch.expired());
    EXPECT_THROW(weak->Invoke(), NilObjectException);
}

TEST(EventDispatch, RaisesTheHandlerBoundAtTheEventNumber) {
    auto source = std::make_shared<Source>();
    auto target = std::make_shared<Target>();
    source->Fire(1); // nothing bound: nothing happens
    RuntimeAddEventHandler(*source, 15,
                           RuntimeCreateDelegate(&Target::OnFired, target, "( Source, Int32 )", true));
    source->Fire(2);
    source->Fire(3);
    EXPECT_EQ(target->received, (std::vector<std::int32_t>{2, 3}));
    EXPECT_EQ(target->lastSender, source.get());
}

TEST(EventDispatch, AHandlerWhoseTargetIsGoneRaisesInsteadOfBeingCalled) {
    auto source = std::make_shared<Source>();
    auto target = std::make_shared<Target>();
    RuntimeAddEventHandler(*source, 15,
                           RuntimeCreateDelegate(&Target::OnFired, target, "( Source, Int32 )", true));
    target.reset();
    EXPECT_THROW(source->Fire(4), NilObjectException);
}

TEST(EventDispatch, AHandlerOfTheWrongSignatureIsABindingError) {
    auto source = std::make_shared<Source>();
    auto target = std::make_shared<Target>();
    EXPECT_THROW(
        RuntimeAddEventHandler(*source, 15,
                               RuntimeCreateDelegate(&Target::MenuHandler, target, "(  ) as Boolean", true)),
        RuntimeException);
    source->Fire(5); // nothing was bound
    EXPECT_TRUE(target->received.empty());
}

TEST(EventDispatch, RaisingAnEventWithOtherArgumentsThanItDeclaresRaises) {
    auto source = std::make_shared<Source>();
    auto target = std::make_shared<Target>();
    RuntimeAddEventHandler(*source, 15,
                           RuntimeCreateDelegate(&Target::OnFired, target, "( Source, Int32 )", true));
    EXPECT_THROW(source->FireText("5"), RuntimeException);
    EXPECT_TRUE(target->received.empty());
}

TEST(EventDispatch, ObjectsThatRaiseNoEventsCannotBeBound) {
    auto plain = std::make_shared<Base>();
    auto target = std::make_shared<Target>();
    EXPECT_THROW(RuntimeAddEventHandler(*plain, 0, RuntimeCreateDelegate(&Target::OnFired, target, "", true)),
                 RuntimeException);
}
