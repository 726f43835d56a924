#include "UserFixture.h"

namespace {

// A display without input that records what the window system tells it.
class RecordingDisplay : public DisplayBackend {
public:
    explicit RecordingDisplay(std::vector<std::string>& log) : log_(log) {}
    bool IsHeadless() const override { return true; }
    void PollEvents() override {}
    bool WaitForEvents(bool, DWORD) override { return false; }
    void WindowShown(HWND) override { log_.push_back("shown"); }
    void WindowHidden(HWND) override { log_.push_back("hidden"); }
    void WindowGeometryChanged(HWND) override { log_.push_back("geometry"); }
    void WindowDestroyed(HWND) override { log_.push_back("destroyed"); }
    void WindowTextChanged(HWND) override { log_.push_back("text"); }
    void SurfaceChanged(HWND) override { log_.push_back("surface"); }
    void CursorChanged(DWORD_PTR id) override { log_.push_back("cursor " + std::to_string(id)); }

private:
    std::vector<std::string>& log_;
};

std::vector<std::string> Without(std::vector<std::string> log, const std::string& noise) {
    std::erase(log, noise);
    return log;
}

TEST_F(UserTest, DisplayIsToldAboutTopLevelWindowsTextsSurfacesAndCursors) {
    std::vector<std::string> log;
    UserInstallDisplay(std::make_unique<RecordingDisplay>(log));
    HWND top = Create(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 200, 150);
    HWND edit = CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE, 10, 10, 100, 20, top, nullptr, nullptr, nullptr);
    EXPECT_EQ(Without(log, "surface"), std::vector<std::string>{"shown"});
    log.clear();
    Pump();
    EXPECT_FALSE(log.empty());
    EXPECT_EQ(Without(log, "surface"), std::vector<std::string>{});
    log.clear();
    SetWindowTextA(top, "Upgrade Vendaro 5");
    MoveWindow(top, 20, 20, 200, 150, TRUE);
    const POINT p = ScreenOf(edit, 5, 5);
    UserInjectMouseMove(p.x, p.y);
    Pump();
    ShowWindow(top, SW_HIDE);
    DestroyWindow(top);
    EXPECT_EQ(Without(log, "surface"),
              (std::vector<std::string>{"text", "geometry", "cursor 32513", "hidden", "destroyed"}));
    UserInstallDisplay(nullptr);
}

}  // namespace
