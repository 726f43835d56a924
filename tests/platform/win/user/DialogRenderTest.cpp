#include "DemoDialog.h"

#include "platform/win/gdi/Surface.h"

#include <sys/stat.h>
#include <sys/wait.h>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <string>
#include <unistd.h>

namespace {

std::uint32_t Rgb(COLORREF c) { return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c); }

// Draws the owner-drawn face: a solid fill, darker when pushed.
void AnswerDrawItem(HWND form) {
    UserTest::Answer(form, WM_DRAWITEM, [](WPARAM, LPARAM l) {
        const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(l);
        HBRUSH brush = CreateSolidBrush((item->itemState & ODS_SELECTED) ? RGB(0, 64, 32) : kOwnerDrawFace);
        FillRect(item->hDC, &item->rcItem, brush);
        DeleteObject(brush);
        return TRUE;
    });
}

void ExpectDialogPixels(const Surface& s, const DemoDialog& d) {
    RECT wr{};
    GetWindowRect(d.form, &wr);
    auto at = [&](HWND w, int x, int y) {
        POINT p{x, y};
        ClientToScreen(w, &p);
        return s.Pixel(p.x - wr.left, p.y - wr.top);
    };
    EXPECT_EQ(s.Pixel(4, 10), Rgb(GetSysColor(COLOR_ACTIVECAPTION))) << "caption";
    EXPECT_EQ(at(d.form, 280, 150), Rgb(GetSysColor(COLOR_BTNFACE))) << "client";
    EXPECT_EQ(at(d.button, 20, 12), Rgb(kOwnerDrawFace)) << "owner-drawn button";
    EXPECT_EQ(at(d.edit, 240, 10), Rgb(GetSysColor(COLOR_WINDOW))) << "edit";
    EXPECT_EQ(at(d.list, 3, 3), Rgb(GetSysColor(COLOR_WINDOW))) << "list box";
}

class DialogRenderTest : public UserTest {};

TEST_F(DialogRenderTest, HeadlessDialogPaintsEveryControlAndReactsToClicks) {
    HWND form = Create(WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_VISIBLE, 40, 40, 360, 260, nullptr, 0,
                       "ProceduraImportazione");
    AnswerDrawItem(form);
    const DemoDialog d = CreateDemoDialog(form);
    Pump();
    ExpectDialogPixels(*UserWindowSurface(form), d);
    const POINT box = ScreenOf(d.check, 4, 8);
    UserInjectClick(box.x, box.y);
    const POINT item = ScreenOf(d.list, 10, 20);
    UserInjectClick(item.x, item.y);
    Pump();
    EXPECT_EQ(SendMessageA(d.check, BM_GETCHECK, 0, 0), static_cast<LRESULT>(BST_UNCHECKED));
    EXPECT_EQ(SendMessageA(d.list, LB_GETCURSEL, 0, 0), 20 / SendMessageA(d.list, LB_GETITEMHEIGHT, 0, 0));
    EXPECT_EQ(GetFocus(), d.list);
    SaveSurfacePng(*UserWindowSurface(form), "/tmp/vendaro-user-headless.png");
}

// An Xvfb server on a free display number, started and stopped by the test.
class Xvfb {
public:
    bool Start() {
        for (int n = 91; n < 140; ++n) {
            const std::string lock = "/tmp/.X" + std::to_string(n) + "-lock";
            const std::string socket = "/tmp/.X11-unix/X" + std::to_string(n);
            struct stat st{};
            if (stat(lock.c_str(), &st) == 0 || stat(socket.c_str(), &st) == 0)
                continue;
            name_ = ":" + std::to_string(n);
            pid_ = fork();
            if (pid_ == 0) {
                int null = open("/dev/null", O_WRONLY);
                dup2(null, 1);
                dup2(null, 2);
                execl("/usr/bin/Xvfb", "Xvfb", name_.c_str(), "-screen", "0", "800x600x24", "-nolisten", "tcp", nullptr);
                _exit(127);
            }
            for (int i = 0; i < 100; ++i) {
                if (auto display = UserCreateX11Display(name_.c_str())) {
                    display_ = std::move(display);
                    return true;
                }
                usleep(50000);
            }
            Stop();
        }
        return false;
    }
    void Stop() {
        if (pid_ > 0) {
            kill(pid_, SIGTERM);
            waitpid(pid_, nullptr, 0);
            pid_ = -1;
        }
    }
    ~Xvfb() { Stop(); }
    std::unique_ptr<DisplayBackend> TakeDisplay() { return std::move(display_); }
    const std::string& Name() const { return name_; }

private:
    pid_t pid_ = -1;
    std::string name_;
    std::unique_ptr<DisplayBackend> display_;
};

TEST_F(DialogRenderTest, DialogShowsInARealXWindowUnderXvfb) {
    if (access("/usr/bin/Xvfb", X_OK) != 0)
        GTEST_SKIP() << "Xvfb is not installed";
    Xvfb server;
    ASSERT_TRUE(server.Start());
    UserInstallDisplay(server.TakeDisplay());
    HWND form = Create(WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_VISIBLE, 40, 40, 360, 260, nullptr, 0,
                       "ProceduraImportazione");
    AnswerDrawItem(form);
    const DemoDialog d = CreateDemoDialog(form);
    for (int i = 0; i < 20; ++i) {
        Pump();
        usleep(10000);
    }
    Surface shown;
    ASSERT_TRUE(UserReadBackWindow(form, &shown));
    ExpectDialogPixels(shown, d);
    SaveSurfacePng(shown, "/tmp/vendaro-user-x11.png");
    if (access("/usr/bin/import", X_OK) == 0) {
        const std::string command = "import -display " + server.Name() + " -window root /tmp/vendaro-user-x11-root.png";
        EXPECT_EQ(std::system(command.c_str()), 0);
    }
    UserResetWindowSystem();
    UserInstallDisplay(nullptr);
    server.Stop();
}

}  // namespace
