#include "bench/Child.h"

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <stdexcept>

#include "bench/Measure.h"

namespace bench {

namespace {

double milliseconds(const timeval& time) {
    return static_cast<double>(time.tv_sec) * 1e3 + static_cast<double>(time.tv_usec) / 1e3;
}

[[noreturn]] void execChild(const std::vector<std::string>& command,
                            const std::vector<std::string>& environment, int outFd,
                            const std::filesystem::path& errorLog, unsigned timeoutSeconds) {
    for (const std::string& setting : environment) {
        const auto equals = setting.find('=');
        setenv(setting.substr(0, equals).c_str(), setting.substr(equals + 1).c_str(), 1);
    }
    dup2(outFd, STDOUT_FILENO);
    const int errFd = open(errorLog.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
    if (errFd >= 0) {
        dup2(errFd, STDERR_FILENO);
    }
    std::vector<char*> argv;
    for (const std::string& word : command) {
        argv.push_back(const_cast<char*>(word.c_str()));
    }
    argv.push_back(nullptr);
    alarm(timeoutSeconds);
    execv(argv[0], argv.data());
    _exit(127);
}

std::string readAll(int fd) {
    std::string text;
    char buffer[4096];
    for (;;) {
        const ssize_t got = read(fd, buffer, sizeof buffer);
        if (got > 0) {
            text.append(buffer, static_cast<std::size_t>(got));
        } else if (got == 0 || errno != EINTR) {
            return text;
        }
    }
}

}  // namespace

ChildRun runChild(const std::vector<std::string>& command,
                  const std::vector<std::string>& environment,
                  const std::filesystem::path& errorLog, unsigned timeoutSeconds) {
    int pipeFds[2];
    if (pipe(pipeFds) != 0) {
        throw std::runtime_error("pipe failed");
    }
    ChildRun run;
    run.startNs = monotonicNs();
    const pid_t pid = fork();
    if (pid < 0) {
        throw std::runtime_error("fork failed");
    }
    if (pid == 0) {
        close(pipeFds[0]);
        execChild(command, environment, pipeFds[1], errorLog, timeoutSeconds);
    }
    close(pipeFds[1]);
    run.output = readAll(pipeFds[0]);
    close(pipeFds[0]);
    int status = 0;
    rusage usage{};
    while (wait4(pid, &status, 0, &usage) < 0 && errno == EINTR) {
    }
    run.wallMs = static_cast<double>(monotonicNs() - run.startNs) / 1e6;
    run.exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.cpuMs = milliseconds(usage.ru_utime) + milliseconds(usage.ru_stime);
    run.peakRssMb = static_cast<double>(usage.ru_maxrss) / 1024.0;
    return run;
}

}  // namespace bench
