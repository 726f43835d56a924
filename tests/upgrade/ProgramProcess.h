// Starts a built program as a process of its own, in the current directory, with some
// environment variables set or removed, and collects its exit status and standard error.
// A program still running after the time limit is killed and reported as such.
#pragma once

#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <optional>
#include <poll.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <utility>
#include <vector>

struct ProgramOutcome {
    bool exited = false;  // false: killed after the time limit, or ended by a signal
    int status = -1;      // exit status when it exited
    std::string errors;   // what it wrote on standard error
};

// `environment`: name and value to set, or no value to remove the variable.
inline ProgramOutcome RunProgram(const std::string& program,
                                 const std::vector<std::pair<std::string, std::optional<std::string>>>& environment,
                                 int timeLimitSeconds = 30)
{
    ProgramOutcome outcome;
    int errors[2];
    if (pipe(errors) != 0)
        return outcome;
    const pid_t child = fork();
    if (child == 0) {
        close(errors[0]);
        dup2(errors[1], 2);
        const int null = open("/dev/null", O_RDWR);
        dup2(null, 0);
        dup2(null, 1);
        for (const auto& [name, value] : environment) {
            if (value)
                setenv(name.c_str(), value->c_str(), 1);
            else
                unsetenv(name.c_str());
        }
        execl(program.c_str(), program.c_str(), nullptr);
        _exit(127);
    }
    close(errors[1]);
    if (child < 0) {
        close(errors[0]);
        return outcome;
    }
    int waited = 0;
    bool endOfErrors = false;
    for (;;) {
        pollfd fd{errors[0], POLLIN, 0};
        if (endOfErrors) {
            usleep(100000);
        } else if (poll(&fd, 1, 100) > 0) {
            char buffer[512];
            const ssize_t n = read(errors[0], buffer, sizeof buffer);
            if (n > 0) {
                outcome.errors.append(buffer, static_cast<std::size_t>(n));
                continue;
            }
            endOfErrors = true;
        }
        int status = 0;
        if (waitpid(child, &status, WNOHANG) == child) {
            char buffer[512];
            ssize_t n;
            while ((n = read(errors[0], buffer, sizeof buffer)) > 0)
                outcome.errors.append(buffer, static_cast<std::size_t>(n));
            outcome.exited = WIFEXITED(status);
            outcome.status = outcome.exited ? WEXITSTATUS(status) : -1;
            break;
        }
        if (++waited > timeLimitSeconds * 10) {
            kill(child, SIGKILL);
            waitpid(child, nullptr, 0);
            break;
        }
    }
    close(errors[0]);
    return outcome;
}
