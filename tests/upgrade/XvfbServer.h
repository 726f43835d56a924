// An Xvfb server on a free display number for screenshot tests, stopped with the object.
#pragma once

#include "platform/win/user/Display.h"

#include <csignal>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

class XvfbServer {
public:
    // Display numbers from `firstDisplay` on, in a range of its own for each test program,
    // so test programs running side by side never meet on one server.
    explicit XvfbServer(int firstDisplay) : firstDisplay_(firstDisplay) {}

    static bool Installed() { return access("/usr/bin/Xvfb", X_OK) == 0; }

    // Starts the server and connects the window system's X11 backend to it.
    std::unique_ptr<DisplayBackend> Start()
    {
        for (int n = firstDisplay_; n < firstDisplay_ + 20; ++n) {
            struct stat st{};
            if (stat(("/tmp/.X" + std::to_string(n) + "-lock").c_str(), &st) == 0 ||
                stat(("/tmp/.X11-unix/X" + std::to_string(n)).c_str(), &st) == 0)
                continue;
            name_ = ":" + std::to_string(n);
            pid_ = fork();
            if (pid_ == 0) {
                const int null = open("/dev/null", O_WRONLY);
                dup2(null, 1);
                dup2(null, 2);
                execl("/usr/bin/Xvfb", "Xvfb", name_.c_str(), "-screen", "0", "1024x768x24", "-nolisten", "tcp",
                      nullptr);
                _exit(127);
            }
            for (int i = 0; i < 100; ++i) {
                if (auto display = UserCreateX11Display(name_.c_str()))
                    return display;
                usleep(50000);
            }
            Stop();
        }
        return nullptr;
    }

    void Stop()
    {
        if (pid_ > 0) {
            kill(pid_, SIGTERM);
            waitpid(pid_, nullptr, 0);
            pid_ = -1;
        }
    }

    ~XvfbServer() { Stop(); }

private:
    int firstDisplay_;
    pid_t pid_ = -1;
    std::string name_;
};
