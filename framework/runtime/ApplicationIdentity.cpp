#include "framework/runtime/ApplicationIdentity.h"

namespace Ovelund {

namespace {
ApplicationIdentity& Identity() {
    static ApplicationIdentity identity;
    return identity;
}
} // namespace

const ApplicationVersion& RunningVersion() {
    return Identity().version;
}
void SetRunningVersion(const ApplicationVersion& version) {
    Identity().version = version;
}

void RuntimeSetApplicationIdentity(const ApplicationIdentity& identity) {
    Identity() = identity;
}
const ApplicationIdentity& RuntimeApplicationIdentity() {
    return Identity();
}

String RuntimeExecutableName() {
    const String& name = Identity().executableName;
    return name.empty() ? String("application") : name;
}

} // namespace Ovelund
