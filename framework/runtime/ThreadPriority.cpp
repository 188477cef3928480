#include "framework/runtime/ThreadPriority.h"

#include <pthread.h>
#include <sched.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cerrno>

namespace Ovelund {

ThreadPriority LowerThreadToIdlePriority() {
    sched_param parameters{};
    parameters.sched_priority = 0;
    if (pthread_setschedparam(pthread_self(), SCHED_IDLE, &parameters) == 0)
        return ThreadPriority::Idle;
    // On Linux a thread id in place of the process id sets the nice level of that thread alone.
    if (setpriority(PRIO_PROCESS, static_cast<id_t>(gettid()), 19) == 0)
        return ThreadPriority::Nice19;
    return ThreadPriority::Unchanged;
}

ThreadPriority CurrentThreadPriority() {
    int policy = 0;
    sched_param parameters{};
    if (pthread_getschedparam(pthread_self(), &policy, &parameters) == 0 && policy == SCHED_IDLE)
        return ThreadPriority::Idle;
    errno = 0;
    const int nice = getpriority(PRIO_PROCESS, static_cast<id_t>(gettid()));
    return errno == 0 && nice >= 19 ? ThreadPriority::Nice19 : ThreadPriority::Unchanged;
}

bool ReturnToNormalClass(std::thread& thread) {
    sched_param parameters{};
    parameters.sched_priority = 0;
    return pthread_setschedparam(thread.native_handle(), SCHED_OTHER, &parameters) == 0;
}

} // namespace Ovelund
