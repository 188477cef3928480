#pragma once
// A file type the application declares to the platform. Converting it to text (ToString) registers it if it
// is not registered yet and yields its name; changing a property first withdraws the registration; the
// destructor withdraws it too. The platform's table is kept in-process here.

#include "framework/core/ClassRecord.h"
#include "framework/core/ForTests.h"
#include "framework/core/Object.h"
#include "framework/core/String.h"

#include <vector>

namespace Ovelund {

class FileType : public Object {
    OVELUND_OBJECT
public:
    FileType() = default;
    ~FileType() override;

    const String& Name() const { return name_; }
    void SetName(const String& name);
    const String& Extensions() const { return extensions_; }
    void SetExtensions(const String& extensions);
    const String& MacType() const { return macType_; }
    void SetMacType(const String& macType);
    const String& MacCreator() const { return macCreator_; }
    void SetMacCreator(const String& macCreator);

    bool IsRegistered() const { return registered_; }
    String ToString();

private:
    void Withdraw();

    String name_;
    String extensions_;
    String macType_;
    String macCreator_;
    bool registered_ = false;
};

// The platform's table of registered file types.
struct RegisteredFileType {
    String name;
    String creator;
    String type;
    String extensions;
};
void RuntimeRegisterFileType(const String& name, const String& creator, const String& type,
                             const String& extensions);
void RuntimeUnregisterFileType(const String& name);
const std::vector<RegisteredFileType>& RuntimeRegisteredFileTypes();
// How many registrations the platform has seen since start; tests use it.
OVELUND_FOR_TESTS std::size_t RuntimeFileTypeRegistrationCount();

} // namespace Ovelund
