#include "framework/core/ClassRecord.h"

#include <algorithm>
#include <cctype>

namespace Ovelund {

namespace {
bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

std::vector<const ClassRecord*>& Registry() {
    static std::vector<const ClassRecord*> registry;
    return registry;
}
} // namespace

bool ClassRecord::InheritsFrom(const ClassRecord& other) const {
    for (const ClassRecord* record = this; record; record = record->base_)
        if (record == &other)
            return true;
    return false;
}

const PropertyRecord* ClassRecord::FindProperty(std::string_view name) const {
    for (const ClassRecord* record = this; record; record = record->base_)
        for (const auto& property : record->properties_)
            if (EqualsIgnoringCase(property.name, name))
                return &property;
    return nullptr;
}

const EventRecord* ClassRecord::FindEvent(int number) const {
    for (const auto& event : events_)
        if (event.number == number)
            return &event;
    return nullptr;
}

void RuntimeRegisterClass(const ClassRecord& record) {
    auto& registry = Registry();
    if (std::find(registry.begin(), registry.end(), &record) == registry.end())
        registry.push_back(&record);
}

const std::vector<const ClassRecord*>& RuntimeRegisteredClasses() {
    return Registry();
}

const ClassRecord* RuntimeFindClass(std::string_view fullName) {
    for (const ClassRecord* record : Registry())
        if (record->FullName() == fullName)
            return record;
    return nullptr;
}

Ref<Object> RuntimeNewObject(const ClassRecord& record) {
    return record.NewObject();
}

const ClassRecord& Object::Lookup() {
    static const ClassRecord record = ClassBuilder<Object>("Object", nullptr).NoFactory().Build();
    return record;
}

bool Object::IsA(const ClassRecord& record) const {
    return Record().InheritsFrom(record);
}

} // namespace Ovelund
