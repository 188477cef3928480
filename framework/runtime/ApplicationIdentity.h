#pragma once
// What the program tells the framework of itself before start-up: its name, its executable's name and the
// running application's version, which comes from the build. The framework knows nothing of the program but
// this.

#include "framework/core/ForTests.h"
#include "framework/core/String.h"

#include <cstdint>

namespace Ovelund {

// The running application's version, as the program hands it over at start-up (tests may replace it).
struct ApplicationVersion {
    std::int32_t major = 0;
    std::int32_t minor = 0;
    std::int32_t bug = 0;
    String shortVersion;
    String longVersion;
};
const ApplicationVersion& RunningVersion();
OVELUND_FOR_TESTS void SetRunningVersion(const ApplicationVersion& version);

struct ApplicationIdentity {
    // The name the platform shows for the application: the title of its message boxes, for one.
    String name;
    // The name of its executable: the toolkit's first argument, and the prefix of the unhandled-exception
    // report on stderr.
    String executableName;
    ApplicationVersion version;
};
void RuntimeSetApplicationIdentity(const ApplicationIdentity& identity);
const ApplicationIdentity& RuntimeApplicationIdentity();

// The name of the executable as the program gave it, or "application" when it gave none.
String RuntimeExecutableName();

} // namespace Ovelund
