#include "Servers.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <thread>

#include <fcntl.h>
#include <poll.h>
#include <sched.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace gf::bench {

Child spawn(const std::vector<std::string>& argv, const std::vector<std::string>& extraEnv,
            bool pipeOut, bool pipeIn)
{
    std::vector<char*> args;
    for (const std::string& a : argv)
        args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    std::vector<char*> env;
    for (char** e = environ; *e; ++e)
        env.push_back(*e);
    for (const std::string& e : extraEnv)
        env.push_back(const_cast<char*>(e.c_str()));
    env.push_back(nullptr);

    Child child;
    int outPipe[2] = {-1, -1}, inPipe[2] = {-1, -1};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (pipeOut && ::pipe2(outPipe, O_CLOEXEC) == 0) {
        posix_spawn_file_actions_adddup2(&actions, outPipe[1], 1);
        child.out = outPipe[0];
    }
    if (pipeIn && ::pipe2(inPipe, O_CLOEXEC) == 0) {
        posix_spawn_file_actions_adddup2(&actions, inPipe[0], 0);
        child.in = inPipe[1];
    }
    if (!std::getenv("GF_BENCH_VERBOSE"))
        posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    if (::posix_spawnp(&child.pid, args[0], &actions, nullptr, args.data(), env.data()) != 0)
        child.pid = -1;
    posix_spawn_file_actions_destroy(&actions);
    if (outPipe[1] >= 0)
        ::close(outPipe[1]);
    if (inPipe[0] >= 0)
        ::close(inPipe[0]);
    return child;
}

void stop(Child& child)
{
    if (child.in >= 0)
        ::close(child.in);
    if (child.pid > 0) {
        ::kill(child.pid, SIGTERM);
        for (int i = 0; i < 100; ++i) {
            if (::waitpid(child.pid, nullptr, WNOHANG) == child.pid) {
                child.pid = -1;
                break;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        if (child.pid > 0) {
            ::kill(child.pid, SIGKILL);
            ::waitpid(child.pid, nullptr, 0);
        }
    }
    if (child.out >= 0)
        ::close(child.out);
    child = Child{};
}

bool raiseLikeProgram(pid_t pid)
{
    sched_param param{};
    param.sched_priority = 10; // the program's own while presenting
    return ::sched_setscheduler(pid, SCHED_FIFO, &param) == 0;
}

std::string readLine(int fd, int timeoutMs)
{
    std::string line;
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            until - std::chrono::steady_clock::now());
        pollfd p{fd, POLLIN, 0};
        if (left.count() <= 0 || ::poll(&p, 1, int(left.count())) <= 0)
            return {};
        char c = 0;
        if (::read(fd, &c, 1) != 1)
            return {};
        if (c == '\n')
            return line;
        line += c;
    }
}

std::string tempDir(const char* tag)
{
    std::string pattern = std::string("/tmp/gf-") + tag + "-XXXXXX";
    return ::mkdtemp(pattern.data()) ? pattern : std::string("/tmp");
}

bool waitFor(const std::string& path, int timeoutMs)
{
    struct stat st{};
    for (int waited = 0; waited < timeoutMs; waited += 20) {
        if (::stat(path.c_str(), &st) == 0)
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return false;
}

} // namespace gf::bench
