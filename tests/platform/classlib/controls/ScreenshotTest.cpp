// The dialog in a real X window under Xvfb: created from its description, painted, driven by
// injected input and closed; the window's pixels are read back from the X server.
#include "tests/platform/classlib/controls/ControlsFixture.h"

#include "platform/win/gdi/Surface.h"

#include <sys/stat.h>
#include <sys/wait.h>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <unistd.h>

namespace {

// An Xvfb server on a free display number, started and stopped by the test.
class XvfbServer {
public:
    bool Start()
    {
        for (int n = 141; n < 190; ++n) {
            struct stat st {};
            if (stat(("/tmp/.X" + std::to_string(n) + "-lock").c_str(), &st) == 0 ||
                stat(("/tmp/.X11-unix/X" + std::to_string(n)).c_str(), &st) == 0)
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
                if ((display_ = UserCreateX11Display(name_.c_str())))
                    return true;
                usleep(50000);
            }
            Stop();
        }
        return false;
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
    std::unique_ptr<DisplayBackend> TakeDisplay() { return std::move(display_); }
    const std::string& Name() const { return name_; }

private:
    pid_t pid_ = -1;
    std::string name_;
    std::unique_ptr<DisplayBackend> display_;
};

std::uint32_t Rgb(COLORREF c) { return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c); }

void PumpFor(int rounds)
{
    for (int i = 0; i < rounds; ++i) {
        Application->ProcessMessages();
        usleep(10000);
    }
}

class ScreenshotTest : public ControlsTest {
protected:
    void TearDown() override
    {
        ControlsTest::TearDown();
        UserInstallDisplay(nullptr);
    }
};

} // namespace

TEST_F(ScreenshotTest, DialogShowsInARealXWindowAndIsDrivenAndClosed)
{
    if (access("/usr/bin/Xvfb", X_OK) != 0)
        GTEST_SKIP() << "Xvfb is not installed";
    XvfbServer server;
    ASSERT_TRUE(server.Start());
    UserInstallDisplay(server.TakeDisplay());
    TTestDialog* form = ShowDialog();
    PumpFor(20);

    Surface shown;
    ASSERT_TRUE(UserReadBackWindow(form->Handle(), &shown));
    TPoint origin = form->ClientOrigin();
    RECT window{};
    GetWindowRect(form->Handle(), &window);
    auto at = [&](TControl* control, int x, int y) {
        TPoint p = control->ClientToScreen(Point(x, y));
        return shown.Pixel(p.x - window.left, p.y - window.top);
    };
    EXPECT_EQ(shown.Pixel(origin.x - window.left + 420, origin.y - window.top + 295), Rgb(GetSysColor(COLOR_BTNFACE)))
        << "form client";
    EXPECT_EQ(at(form->Edit1(), 200, 10), Rgb(GetSysColor(COLOR_WINDOW))) << "edit";
    EXPECT_EQ(at(form->ListBox1(), 200, 100), Rgb(GetSysColor(COLOR_WINDOW))) << "list box";
    EXPECT_EQ(at(form->OkButton(), 4, 20), Rgb(GetSysColor(COLOR_BTNFACE))) << "button face";
    // The group box's etched frame runs through the middle of its caption's line.
    form->GroupBox1()->Canvas()->SetFont(form->GroupBox1()->Font());
    int line = form->GroupBox1()->Canvas()->TextHeight("0") / 2;
    TPoint box0 = form->GroupBox1()->ClientOrigin();
    auto boxAt = [&](int x, int y) { return shown.Pixel(box0.x - window.left + x, box0.y - window.top + y); };
    EXPECT_EQ(boxAt(300, line), Rgb(GetSysColor(COLOR_BTNHIGHLIGHT))) << "group box frame light";
    EXPECT_EQ(boxAt(300, line - 1), Rgb(GetSysColor(COLOR_BTNSHADOW))) << "group box frame shadow";
    EXPECT_EQ(boxAt(300, 20), Rgb(GetSysColor(COLOR_BTNFACE))) << "group box inside";
    EXPECT_EQ(at(form->CheckBox1(), 134, 1), Rgb(GetSysColor(COLOR_BTNFACE))) << "check box background";
    SaveSurfacePng(shown, "/tmp/vendaro-controls-dialog.png");

    // Driven through the real window: tick a box, type a path, then close with Escape.
    TPoint box = form->CheckBox1()->ClientToScreen(Point(6, 8));
    UserInjectClick(box.x, box.y);
    PumpFor(5);
    form->Edit1()->SetFocus();
    UserInjectText("C:\\dbVendaroBase4.mdb");
    PumpFor(10);
    EXPECT_TRUE(form->CheckBox1()->Checked());
    EXPECT_EQ(form->Edit1()->Text(), "C:\\dbVendaroBase4.mdb");
    Surface driven;
    ASSERT_TRUE(UserReadBackWindow(form->Handle(), &driven));
    SaveSurfacePng(driven, "/tmp/vendaro-controls-dialog-driven.png");
    if (access("/usr/bin/import", X_OK) == 0) {
        std::string command = "import -display " + server.Name() + " -window root /tmp/vendaro-controls-root.png";
        EXPECT_EQ(std::system(command.c_str()), 0);
    }
    form->SetOnClose(TCloseEvent());
    UserInjectKeyStroke(VK_ESCAPE);
    PumpFor(2);
    EXPECT_EQ(form->ModalResult(), mrCancel);
    form->Close();
    EXPECT_TRUE(Application->Terminated());
    FormsFinalization();
    UserResetWindowSystem();
    UserInstallDisplay(nullptr);
    server.Stop();
}
