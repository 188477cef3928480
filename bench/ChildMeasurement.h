#pragma once
// What the benches that measure in fresh processes share: running this executable again with arguments, its
// standard output read back, and the processors this process may run on.

#include <fcntl.h>
#include <sched.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <vector>

namespace bench {

// Runs /proc/self/exe with `arguments`, pinned to `processor` unless it is negative, its standard error
// discarded (the offscreen platform's notes on every window would bury the tables); returns what it printed.
inline std::string RunSelf(const std::vector<std::string>& arguments, int processor = -1) {
    int out[2];
    if (pipe(out) != 0)
        return {};
    const char* self = "/proc/self/exe";
    const pid_t child = fork();
    if (child == 0) {
        if (processor >= 0) {
            cpu_set_t one;
            CPU_ZERO(&one);
            CPU_SET(processor, &one);
            if (sched_setaffinity(0, sizeof one, &one) != 0)
                _exit(2);
        }
        dup2(out[1], STDOUT_FILENO);
        const int quiet = open("/dev/null", O_WRONLY);
        dup2(quiet, STDERR_FILENO);
        close(out[0]);
        close(out[1]);
        std::vector<char*> argv{const_cast<char*>(self)};
        for (const std::string& argument : arguments)
            argv.push_back(const_cast<char*>(argument.c_str()));
        argv.push_back(nullptr);
        execv(self, argv.data());
        _exit(127);
    }
    close(out[1]);
    std::string text;
    char buffer[512];
    for (ssize_t got; (got = read(out[0], buffer, sizeof buffer)) > 0;)
        text.append(buffer, static_cast<std::size_t>(got));
    close(out[0]);
    waitpid(child, nullptr, 0);
    return text;
}

inline unsigned Processors() {
    cpu_set_t mask;
    CPU_ZERO(&mask);
    return sched_getaffinity(0, sizeof mask, &mask) == 0 ? static_cast<unsigned>(CPU_COUNT(&mask)) : 1;
}

inline int FirstProcessor() {
    cpu_set_t mask;
    CPU_ZERO(&mask);
    sched_getaffinity(0, sizeof mask, &mask);
    for (int n = 0; n < CPU_SETSIZE; ++n)
        if (CPU_ISSET(n, &mask))
            return n;
    return 0;
}

} // namespace bench
