#pragma once

// Servers a benchmark starts for itself (X server, sound server, observers), each a child
// process that ends with the benchmark.

#include <string>
#include <vector>

#include <sys/types.h>

namespace gf::bench {

struct Child
{
    pid_t pid = -1;
    int out = -1; // its standard output, when asked for
    int in = -1;  // its standard input, when asked for
};

// Starts `argv` with `extraEnv` ("NAME=value") added; pipes as asked; stderr to /dev/null
// unless GF_BENCH_VERBOSE is set.
Child spawn(const std::vector<std::string>& argv, const std::vector<std::string>& extraEnv = {},
            bool pipeOut = false, bool pipeIn = false);
void stop(Child& child);

// The real-time class the program asks for while presenting, given to `pid` (0: the
// caller's thread) so that servers and observers measure the program, not themselves.
// False where the system refuses.
bool raiseLikeProgram(pid_t pid);

// One line from `fd`, waiting at most `timeoutMs`; empty at end or timeout.
std::string readLine(int fd, int timeoutMs);

// A fresh private folder under /tmp.
std::string tempDir(const char* tag);

// A file or socket appears within `timeoutMs`.
bool waitFor(const std::string& path, int timeoutMs);

} // namespace gf::bench
