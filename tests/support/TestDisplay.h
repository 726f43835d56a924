// A real display for the tests that show windows on an X server: an Xvfb server on a free
// display number, the window system's X11 backend connected to it, window screenshots read
// back from the server and saved as PNG files under the build folder, and the server
// stopped with the object.
#pragma once

#include "platform/win/gdi/Surface.h"
#include "platform/win/user/Display.h"
#include "platform/win/user/UserTesting.h"

#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <system_error>
#include <unistd.h>

class TestDisplay {
public:
    static constexpr const char* kServer = "/usr/bin/Xvfb";
    static constexpr const char* kScreenGrabber = "/usr/bin/import";

    // Display numbers from `firstDisplay` on, in a range of its own for each test program,
    // so test programs running side by side never meet on one server.
    explicit TestDisplay(int firstDisplay, int width = 1024, int height = 768)
        : firstDisplay_(firstDisplay), width_(width), height_(height)
    {
    }
    TestDisplay(const TestDisplay&) = delete;
    TestDisplay& operator=(const TestDisplay&) = delete;
    ~TestDisplay() { Stop(); }

    static bool Installed() { return access(kServer, X_OK) == 0; }

    // Starts the server on the first free number of the range and waits until it accepts
    // connections; answers the X11 backend connected to it, null when no server came up.
    std::unique_ptr<DisplayBackend> Start()
    {
        Stop();
        for (int n = firstDisplay_; n < firstDisplay_ + kRange; ++n) {
            if (Taken(n))
                continue;
            name_ = ":" + std::to_string(n);
            pid_ = Launch();
            if (pid_ < 0)
                return nullptr;
            if (auto backend = WaitUntilReady())
                return backend;
            Stop();
        }
        name_.clear();
        return nullptr;
    }

    // Starts the server and makes the window system show its windows there; the
    // headless backend comes back when the display stops.
    bool Install()
    {
        auto backend = Start();
        if (!backend)
            return false;
        UserInstallDisplay(std::move(backend));
        installed_ = true;
        return true;
    }

    void Stop()
    {
        if (installed_) {
            installed_ = false;
            UserInstallDisplay(nullptr);
        }
        if (pid_ > 0) {
            kill(pid_, SIGTERM);
            waitpid(pid_, nullptr, 0);
            pid_ = -1;
        }
    }

    // The display's name (":n"), empty while no server runs.
    const std::string& Name() const { return name_; }
    bool Running() const { return pid_ > 0; }

    // Pumps (with `pump`) until the server shows exactly what the window painted, at most
    // about 5 s under load, reading it back into `shown`; answers the pixels that still
    // differ (-1 when nothing could be read back).
    static int ReadBackWhenShown(HWND window, Surface& shown, const std::function<void()>& pump)
    {
        int differing = -1;
        for (int attempt = 0; attempt < 250 && differing != 0; ++attempt) {
            pump();
            usleep(20000);
            const Surface* painted = UserWindowSurface(window);
            if (!painted || !UserReadBackWindow(window, &shown) || shown.Width() != painted->Width() ||
                shown.Height() != painted->Height())
                continue;
            differing = 0;
            for (int y = 0; y < shown.Height(); ++y)
                for (int x = 0; x < shown.Width(); ++x)
                    differing += shown.Pixel(x, y) != painted->Pixel(x, y);
        }
        return differing;
    }

    // Where a screenshot of that file name goes: the folder "screenshots" beside the test
    // program, in the build folder.
    static std::string ScreenshotPath(const std::string& fileName)
    {
        std::error_code ec;
        std::filesystem::path folder = std::filesystem::read_symlink("/proc/self/exe", ec).parent_path();
        if (ec || folder.empty())
            folder = std::filesystem::current_path();
        folder /= "screenshots";
        std::filesystem::create_directories(folder, ec);
        return (folder / fileName).string();
    }

    // Saves the surface as a PNG screenshot; false when the file cannot be written.
    static bool SavePng(const Surface& surface, const std::string& fileName)
    {
        return SaveSurfacePng(surface, ScreenshotPath(fileName));
    }

    // Reads the window back from the server and saves it; false when either fails.
    static bool SaveWindow(HWND window, const std::string& fileName, Surface* shown = nullptr)
    {
        Surface local;
        Surface& into = shown ? *shown : local;
        return UserReadBackWindow(window, &into) && SavePng(into, fileName);
    }

    // The whole screen of the server, grabbed by an outside program when one is installed.
    static bool CanSaveScreen() { return access(kScreenGrabber, X_OK) == 0; }
    bool SaveScreen(const std::string& fileName) const
    {
        if (name_.empty() || !CanSaveScreen())
            return false;
        const std::string command =
            std::string(kScreenGrabber) + " -display " + name_ + " -window root '" + ScreenshotPath(fileName) + "'";
        return std::system(command.c_str()) == 0;
    }

private:
    static constexpr int kRange = 20;

    static bool Taken(int n)
    {
        struct stat st {};
        return stat(("/tmp/.X" + std::to_string(n) + "-lock").c_str(), &st) == 0 ||
               stat(("/tmp/.X11-unix/X" + std::to_string(n)).c_str(), &st) == 0;
    }

    pid_t Launch() const
    {
        const std::string screen = std::to_string(width_) + "x" + std::to_string(height_) + "x24";
        const pid_t pid = fork();
        if (pid == 0) {
            const int null = open("/dev/null", O_WRONLY);
            dup2(null, 1);
            dup2(null, 2);
            execl(kServer, "Xvfb", name_.c_str(), "-screen", "0", screen.c_str(), "-nolisten", "tcp", nullptr);
            _exit(127);
        }
        return pid;
    }

    // Up to 5 s for the server to answer; a server that ended (its number was taken after
    // all) gives up at once so the next number is tried.
    std::unique_ptr<DisplayBackend> WaitUntilReady()
    {
        for (int i = 0; i < 100; ++i) {
            // Another program may have started a server on the same number a moment
            // earlier: connect only to the server that holds the number's lock.
            if (OwnsLock())
                if (auto backend = UserCreateX11Display(name_.c_str()))
                    return backend;
            if (waitpid(pid_, nullptr, WNOHANG) == pid_) {
                pid_ = -1;
                return nullptr;
            }
            usleep(50000);
        }
        return nullptr;
    }

    // The lock file of the display names this object's server process.
    bool OwnsLock() const
    {
        std::ifstream lock("/tmp/.X" + name_.substr(1) + "-lock");
        long pid = 0;
        return lock >> pid && pid == pid_;
    }

    int firstDisplay_;
    int width_;
    int height_;
    pid_t pid_ = -1;
    std::string name_;
    bool installed_ = false;
};
