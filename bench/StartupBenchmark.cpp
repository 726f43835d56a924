// Start-up benchmark: the wall time from starting Importa to its first painted frame on
// an Xvfb server, against a bare Xlib program (bare-window) that maps a window of the same
// size and fills it, both on the same server in the same run.
//
// This program is a second X client that watches the screen: a frame counts as shown when
// the server's pixels of the program's window are those the program settles on. The
// settled picture is taken first, in a run of its own: well after the window appeared,
// samples are read over a second; pixels that change between samples (the blinking caret)
// are left out of the comparison. A timed run starts the clock before the program is
// started and stops it at the first read-back that shows the settled picture, polling
// about every half millisecond. The program's own CPU time up to then is reported too.
//
//   startup-benchmark [importa [bare-window [rounds]]]
#include "bench/BenchTiming.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XShm.h>
#include <sys/ipc.h>
#include <sys/resource.h>
#include <sys/shm.h>
#include <sys/wait.h>

#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

using bench::Clock;

int IgnoreXError(Display*, XErrorEvent*) { return 0; }

void Pause(double seconds) { usleep(static_cast<useconds_t>(seconds * 1e6)); }

// An Xvfb server on a display number it picks itself; stopped with the object.
class Server {
public:
    Server()
    {
        int ready[2];
        if (pipe(ready) != 0) throw std::runtime_error("pipe");
        pid_ = fork();
        if (pid_ == 0) {
            close(ready[0]);
            const std::string fd = std::to_string(ready[1]);
            execl("/usr/bin/Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1024x768x24", "-nolisten",
                  "tcp", static_cast<char*>(nullptr));
            _exit(127);
        }
        close(ready[1]);
        char text[16] = {};
        std::size_t got = 0;
        while (got < sizeof text - 1) {
            const ssize_t n = read(ready[0], text + got, sizeof text - 1 - got);
            if (n <= 0 || text[got + n - 1] == '\n') {
                got += n > 0 ? static_cast<std::size_t>(n) : 0;
                break;
            }
            got += static_cast<std::size_t>(n);
        }
        close(ready[0]);
        if (got == 0) throw std::runtime_error("Xvfb did not start");
        char name[16];
        std::snprintf(name, sizeof name, ":%d", std::atoi(text));
        name_ = name;
    }
    ~Server()
    {
        kill(pid_, SIGTERM);
        waitpid(pid_, nullptr, 0);
    }
    const std::string& Name() const { return name_; }

private:
    pid_t pid_ = -1;
    std::string name_;
};

// A started program in a fresh folder of its own (its HOME and TMPDIR too).
class Program {
public:
    Program(const std::vector<std::string>& argv, const std::string& display, const std::string& folder)
    {
        pid_ = fork();
        if (pid_ == 0) {
            if (chdir(folder.c_str()) != 0) _exit(126);
            setenv("DISPLAY", display.c_str(), 1);
            setenv("HOME", folder.c_str(), 1);
            setenv("TMPDIR", folder.c_str(), 1);
            unsetenv("VENDARO_HEADLESS");
            std::vector<char*> args;
            for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
            args.push_back(nullptr);
            execv(args[0], args.data());
            _exit(127);
        }
    }
    ~Program() { Stop(); }
    bool Running() const
    {
        int status = 0;
        return pid_ > 0 && waitpid(pid_, &status, WNOHANG) == 0;
    }
    // Ends the program; answers the CPU seconds it used (user and system).
    double Stop()
    {
        if (pid_ <= 0) return 0;
        kill(pid_, SIGKILL);
        int status = 0;
        rusage usage{};
        wait4(pid_, &status, 0, &usage);
        pid_ = -1;
        return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) * 1e-6;
    }

private:
    pid_t pid_ = -1;
};

struct Picture {
    unsigned width = 0, height = 0;
    std::vector<std::uint32_t> pixels;  // 0x00RRGGBB, rows top-down
    std::vector<std::uint8_t> varies;   // 1 where the settled picture changes by itself
};

// The watching client: finds the shown top-level window and reads its pixels back, through
// shared memory when the server offers it.
class Watcher {
public:
    explicit Watcher(const std::string& name) : display_(XOpenDisplay(name.c_str()))
    {
        if (!display_) throw std::runtime_error("cannot open display " + name);
        XSetErrorHandler(IgnoreXError);
        useShm_ = XShmQueryExtension(display_);
    }
    ~Watcher()
    {
        ReleaseShm();
        XCloseDisplay(display_);
    }

    // The largest viewable top-level window, or the viewable one of exactly that size; 0 if none.
    Window Shown(unsigned width = 0, unsigned height = 0)
    {
        Window root = 0, parent = 0, *children = nullptr;
        unsigned count = 0;
        Window found = 0;
        unsigned long area = 0;
        if (!XQueryTree(display_, DefaultRootWindow(display_), &root, &parent, &children, &count)) return 0;
        for (unsigned i = 0; i < count; ++i) {
            XWindowAttributes a{};
            if (!XGetWindowAttributes(display_, children[i], &a) || a.map_state != IsViewable) continue;
            const unsigned w = static_cast<unsigned>(a.width), h = static_cast<unsigned>(a.height);
            if (width ? (w == width && h == height) : static_cast<unsigned long>(w) * h > area) {
                found = children[i];
                area = static_cast<unsigned long>(w) * h;
            }
        }
        if (children) XFree(children);
        return found;
    }

    bool Size(Window window, unsigned& width, unsigned& height)
    {
        XWindowAttributes a{};
        if (!XGetWindowAttributes(display_, window, &a)) return false;
        width = static_cast<unsigned>(a.width);
        height = static_cast<unsigned>(a.height);
        return true;
    }

    // Reads the window's pixels (width x height from its corner) into `into`; false when it cannot.
    bool Read(Window window, unsigned width, unsigned height, std::vector<std::uint32_t>& into)
    {
        XImage* image = nullptr;
        if (useShm_ && PrepareShm(width, height)) {
            if (!XShmGetImage(display_, window, shmImage_, 0, 0, AllPlanes)) return false;
            image = shmImage_;
        } else {
            image = XGetImage(display_, window, 0, 0, width, height, AllPlanes, ZPixmap);
            if (!image) return false;
        }
        into.resize(static_cast<std::size_t>(width) * height);
        for (unsigned y = 0; y < height; ++y) {
            const auto* row = reinterpret_cast<const std::uint32_t*>(image->data + static_cast<std::size_t>(y) * image->bytes_per_line);
            for (unsigned x = 0; x < width; ++x) into[static_cast<std::size_t>(y) * width + x] = row[x] & 0xFFFFFF;
        }
        if (image != shmImage_) XDestroyImage(image);
        return true;
    }

private:
    bool PrepareShm(unsigned width, unsigned height)
    {
        if (shmImage_ && shmImage_->width == static_cast<int>(width) && shmImage_->height == static_cast<int>(height))
            return true;
        ReleaseShm();
        const int screen = DefaultScreen(display_);
        shmImage_ = XShmCreateImage(display_, DefaultVisual(display_, screen), static_cast<unsigned>(DefaultDepth(display_, screen)),
                                    ZPixmap, nullptr, &shm_, width, height);
        if (!shmImage_) return useShm_ = false;
        shm_.shmid = shmget(IPC_PRIVATE, static_cast<std::size_t>(shmImage_->bytes_per_line) * height, IPC_CREAT | 0600);
        shm_.shmaddr = shmImage_->data = static_cast<char*>(shmat(shm_.shmid, nullptr, 0));
        shm_.readOnly = False;
        if (shm_.shmid < 0 || shm_.shmaddr == reinterpret_cast<char*>(-1) || !XShmAttach(display_, &shm_)) {
            ReleaseShm();
            return useShm_ = false;
        }
        XSync(display_, False);
        shmctl(shm_.shmid, IPC_RMID, nullptr);
        return true;
    }
    void ReleaseShm()
    {
        if (!shmImage_) return;
        XShmDetach(display_, &shm_);
        XSync(display_, False);
        if (shm_.shmaddr && shm_.shmaddr != reinterpret_cast<char*>(-1)) shmdt(shm_.shmaddr);
        if (shm_.shmid >= 0) shmctl(shm_.shmid, IPC_RMID, nullptr);
        shmImage_->data = nullptr;
        XDestroyImage(shmImage_);
        shmImage_ = nullptr;
        shm_ = {};
    }

    Display* display_;
    bool useShm_ = false;
    XShmSegmentInfo shm_{};
    XImage* shmImage_ = nullptr;
};

bool Shows(const Picture& settled, const std::vector<std::uint32_t>& pixels)
{
    for (std::size_t i = 0; i < pixels.size(); ++i)
        if (pixels[i] != settled.pixels[i] && !settled.varies[i]) return false;
    return true;
}

// Waits (up to `limit` seconds) until the server shows no program's window any more, so that a
// window of the run before cannot be taken for the next one's.
void WaitUntilClear(Watcher& watcher, double limit = 10)
{
    const Clock::time_point start = Clock::now();
    while (watcher.Shown()) {
        if (bench::Seconds(start) > limit) throw std::runtime_error("a window stays on the screen after its program ended");
        Pause(0.001);
    }
}

// The picture the program settles on, `width` x `height` or that of its largest window.
Picture Settle(Watcher& watcher, const std::vector<std::string>& argv, const std::string& display,
               const std::string& folder)
{
    Program program(argv, display, folder);
    const Clock::time_point start = Clock::now();
    Window window = 0;
    while (!(window = watcher.Shown())) {
        if (!program.Running() || bench::Seconds(start) > 20) throw std::runtime_error("no window of " + argv[0]);
        Pause(0.01);
    }
    Pause(1.5);
    window = watcher.Shown();
    Picture settled;
    if (!window || !watcher.Size(window, settled.width, settled.height) ||
        !watcher.Read(window, settled.width, settled.height, settled.pixels))
        throw std::runtime_error("cannot read the window of " + argv[0]);
    settled.varies.assign(settled.pixels.size(), 0);
    std::vector<std::uint32_t> sample;
    for (int i = 0; i < 25; ++i) {
        Pause(0.05);
        if (!watcher.Read(window, settled.width, settled.height, sample))
            throw std::runtime_error("the window of " + argv[0] + " went away");
        for (std::size_t p = 0; p < sample.size(); ++p) settled.varies[p] |= sample[p] != settled.pixels[p];
    }
    std::size_t varying = 0;
    for (std::uint8_t v : settled.varies) varying += v;
    if (varying * 100 > settled.pixels.size())
        throw std::runtime_error("the window of " + argv[0] + " never settles");
    program.Stop();
    WaitUntilClear(watcher);
    return settled;
}

struct Start {
    double wall = 0, cpu = 0;
};

Start TimeFirstFrame(Watcher& watcher, const std::vector<std::string>& argv, const Picture& settled,
                     const std::string& display, const std::string& folder)
{
    std::vector<std::uint32_t> pixels;
    const Clock::time_point start = Clock::now();
    Program program(argv, display, folder);
    for (;;) {
        if (const Window window = watcher.Shown(settled.width, settled.height))
            if (watcher.Read(window, settled.width, settled.height, pixels) && Shows(settled, pixels)) break;
        if (bench::Seconds(start) > 20) throw std::runtime_error(argv[0] + " shows no settled frame");
        Pause(0.0005);
    }
    Start result;
    result.wall = bench::Seconds(start);
    result.cpu = program.Stop();
    WaitUntilClear(watcher);
    return result;
}

std::string FreshFolder()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "vendaro-startup-XXXXXX").string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error("cannot make a work folder");
    return pattern;
}

} // namespace

int main(int argc, char** argv)
{
    // Absolute: the programs start in a folder of their own.
    const std::string importa = std::filesystem::absolute(argc > 1 ? argv[1] : IMPORTA_PATH).string();
    const std::string bare = std::filesystem::absolute(argc > 2 ? argv[2] : BARE_WINDOW_PATH).string();
    const int rounds = argc > 3 ? std::max(1, std::atoi(argv[3])) : 10;
    try {
        Server server;
        Watcher watcher(server.Name());
        const std::string folder = FreshFolder();
        const Picture program = Settle(watcher, {importa}, server.Name(), folder);
        const std::vector<std::string> floorArgs{bare, std::to_string(program.width), std::to_string(program.height)};
        const Picture floor = Settle(watcher, floorArgs, server.Name(), folder);
        std::printf("window %ux%u\n", program.width, program.height);
        Start best{1e30, 1e30}, bestFloor{1e30, 1e30};
        for (int r = 0; r < rounds; ++r) {
            const Start f = TimeFirstFrame(watcher, floorArgs, floor, server.Name(), folder);
            const Start p = TimeFirstFrame(watcher, {importa}, program, server.Name(), folder);
            std::printf("round %d: Importa %.1f ms (CPU %.1f ms), floor %.1f ms (CPU %.1f ms)\n", r + 1, p.wall * 1e3,
                        p.cpu * 1e3, f.wall * 1e3, f.cpu * 1e3);
            best = {std::min(best.wall, p.wall), std::min(best.cpu, p.cpu)};
            bestFloor = {std::min(bestFloor.wall, f.wall), std::min(bestFloor.cpu, f.cpu)};
        }
        std::filesystem::remove_all(folder);
        bench::Report("First painted frame of Importa under Xvfb, wall (floor: bare Xlib window)", best.wall * 1e3,
                      bestFloor.wall * 1e3, "ms", 1.5);
        std::printf("RESULT\t%s\t%.1f ms\t%.1f ms\t%.2f x\t-\n",
                    "First painted frame of Importa under Xvfb, the program's CPU", best.cpu * 1e3, bestFloor.cpu * 1e3,
                    best.cpu / bestFloor.cpu);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "startup-benchmark: %s\n", e.what());
        return 1;
    }
    return 0;
}
