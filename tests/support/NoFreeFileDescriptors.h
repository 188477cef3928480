#pragma once
// While the object lives, this process can open no further file descriptor: the soft limit is lowered to
// the lowest free one, so the next socket or file fails at once, as on a system out of resources. The limit
// is restored when the object goes.
//
// Not under the sanitizers: their runtime needs descriptors of its own while the program runs (the type
// check of UndefinedBehaviorSanitizer probes memory through a pipe) and reports false errors without them.

#include <sys/resource.h>

namespace testing_support {

class NoFreeFileDescriptors {
public:
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
    static constexpr bool kAvailable = false;
#else
    static constexpr bool kAvailable = true;
#endif

    NoFreeFileDescriptors();
    ~NoFreeFileDescriptors();
    NoFreeFileDescriptors(const NoFreeFileDescriptors&) = delete;
    NoFreeFileDescriptors& operator=(const NoFreeFileDescriptors&) = delete;

private:
    rlimit saved_{};
};

} // namespace testing_support
