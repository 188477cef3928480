#include "framework/runtime/FileType.h"

#include <algorithm>

namespace Ovelund {

namespace {
std::vector<RegisteredFileType>& Table() {
    static std::vector<RegisteredFileType> table;
    return table;
}
std::size_t registrations = 0;
} // namespace

const ClassRecord& FileType::Lookup() {
    static const ClassRecord record = ClassBuilder<FileType>("FileType", &Object::Lookup()).Build();
    return record;
}

FileType::~FileType() {
    Withdraw();
}

void FileType::Withdraw() {
    if (!registered_)
        return;
    RuntimeUnregisterFileType(name_);
    registered_ = false;
}

void FileType::SetName(const String& name) {
    Withdraw();
    name_ = name;
}
void FileType::SetExtensions(const String& extensions) {
    Withdraw();
    extensions_ = extensions;
}
void FileType::SetMacType(const String& macType) {
    Withdraw();
    macType_ = macType;
}
void FileType::SetMacCreator(const String& macCreator) {
    Withdraw();
    macCreator_ = macCreator;
}

String FileType::ToString() {
    if (!registered_) {
        RuntimeRegisterFileType(name_, macCreator_, macType_, extensions_);
        registered_ = true;
    }
    return name_;
}

void RuntimeRegisterFileType(const String& name, const String& creator, const String& type,
                             const String& extensions) {
    ++registrations;
    RuntimeUnregisterFileType(name);
    Table().push_back(RegisteredFileType{name, creator, type, extensions});
}

void RuntimeUnregisterFileType(const String& name) {
    auto& table = Table();
    table.erase(std::remove_if(table.begin(), table.end(), [&](const auto& t) { return t.name == name; }),
                table.end());
}

const std::vector<RegisteredFileType>& RuntimeRegisteredFileTypes() {
    return Table();
}
std::size_t RuntimeFileTypeRegistrationCount() {
    return registrations;
}

} // namespace Ovelund
