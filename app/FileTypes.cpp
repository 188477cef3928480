#include "app/FileTypes.h"

#include <utility>

using namespace Ovelund;

namespace FileTypes {

Ref<FileType> pText;

void Initialize() {
    Ref<FileType> old = std::exchange(pText, std::make_shared<FileType>());
    old.reset();
    CheckNil(pText).SetName("text");
    CheckNil(pText).SetExtensions("");
    CheckNil(pText).SetMacType("TEXT");
    CheckNil(pText).SetMacCreator("R*ch");
    // Converting the type to text registers it; the name it yields is not needed.
    (void)CheckNil(pText).ToString();
}

} // namespace FileTypes
