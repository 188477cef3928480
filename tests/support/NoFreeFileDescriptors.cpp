#include "support/NoFreeFileDescriptors.h"

#include <fcntl.h>
#include <unistd.h>

#include <stdexcept>

namespace testing_support {

NoFreeFileDescriptors::NoFreeFileDescriptors() {
    if (getrlimit(RLIMIT_NOFILE, &saved_) != 0)
        throw std::runtime_error("cannot read the file descriptor limit");
    // The lowest free descriptor is the one the next open would get.
    const int lowestFree = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
    if (lowestFree < 0)
        throw std::runtime_error("no file descriptor free to begin with");
    ::close(lowestFree);
    rlimit lowered = saved_;
    lowered.rlim_cur = static_cast<rlim_t>(lowestFree);
    if (setrlimit(RLIMIT_NOFILE, &lowered) != 0)
        throw std::runtime_error("cannot lower the file descriptor limit");
}

NoFreeFileDescriptors::~NoFreeFileDescriptors() {
    setrlimit(RLIMIT_NOFILE, &saved_);
}

} // namespace testing_support
