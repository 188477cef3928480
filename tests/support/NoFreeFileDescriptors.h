#pragma once
// While the object lives, this process can open no further file descriptor: the soft limit is lowered to
// the lowest free one, so the next socket or file fails at once, as on a system out of resources. The limit
// is restored when the object goes.

#include <sys/resource.h>

namespace testing_support {

class NoFreeFileDescriptors {
public:
    NoFreeFileDescriptors();
    ~NoFreeFileDescriptors();
    NoFreeFileDescriptors(const NoFreeFileDescriptors&) = delete;
    NoFreeFileDescriptors& operator=(const NoFreeFileDescriptors&) = delete;

private:
    rlimit saved_{};
};

} // namespace testing_support
