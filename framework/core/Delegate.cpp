#include "framework/core/Delegate.h"

namespace Ovelund {

const ClassRecord& DelegateBase::Lookup() {
    static const ClassRecord record = ClassBuilder<DelegateBase>("Delegate", &Object::Lookup()).Build();
    return record;
}

} // namespace Ovelund
