#include "UserFixture.h"

namespace {

// A display without input that records what the window system tells it.
class RecordingDisplay : public DisplayBackend {
public:
    explicit RecordingDisplay(std::vector<std::string>& log, std::vector<RECT>* areas = nullptr) : log_(log), areas_(areas) {}
    bool IsHeadless() const override { return true; }
    void PollEvents() override {}
    bool WaitForEvents(bool, DWORD) override { return false; }
    void WindowShown(HWND) override { log_.push_back("shown"); }
    void WindowHidden(HWND) override { log_.push_back("hidden"); }
    void WindowGeometryChanged(HWND) override { log_.push_back("geometry"); }
    void WindowDestroyed(HWND) override { log_.push_back("destroyed"); }
    void WindowTextChanged(HWND) override { log_.push_back("text"); }
    void SurfaceChanged(HWND, const RECT& area) override {
        log_.push_back("surface");
        if (areas_)
            areas_->push_back(area);
    }
    void Present() override { log_.push_back("present"); }
    void CursorChanged(DWORD_PTR id) override { log_.push_back("cursor " + std::to_string(id)); }

private:
    std::vector<std::string>& log_;
    std::vector<RECT>* areas_;
};

std::vector<std::string> Without(std::vector<std::string> log, std::initializer_list<const char*> noise) {
    for (const char* n : noise)
        std::erase(log, n);
    return log;
}

RECT InTopLevel(HWND window, HWND top) {
    RECT r{}, t{};
    GetWindowRect(window, &r);
    GetWindowRect(top, &t);
    OffsetRect(&r, -t.left, -t.top);
    return r;
}

TEST_F(UserTest, DisplayIsToldAboutTopLevelWindowsTextsSurfacesAndCursors) {
    std::vector<std::string> log;
    UserInstallDisplay(std::make_unique<RecordingDisplay>(log));
    HWND top = Create(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 200, 150);
    HWND edit = CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE, 10, 10, 100, 20, top, nullptr, nullptr, nullptr);
    EXPECT_EQ(Without(log, {"surface", "present"}), std::vector<std::string>{"shown"});
    log.clear();
    Pump();
    EXPECT_FALSE(log.empty());
    EXPECT_EQ(Without(log, {"surface", "present"}), std::vector<std::string>{});
    log.clear();
    SetWindowTextA(top, "Upgrade Vendaro 5");
    MoveWindow(top, 20, 20, 200, 150, TRUE);
    const POINT p = ScreenOf(edit, 5, 5);
    UserInjectMouseMove(p.x, p.y);
    Pump();
    ShowWindow(top, SW_HIDE);
    DestroyWindow(top);
    EXPECT_EQ(Without(log, {"surface", "present"}),
              (std::vector<std::string>{"text", "geometry", "cursor 32513", "hidden", "destroyed"}));
    UserInstallDisplay(nullptr);
}

}  // namespace

namespace {

// Painting one control tells the display only about that control's part of the surface,
// and the frame is presented once the queue has nothing left.
TEST_F(UserTest, DisplayIsToldWhichAreaWasDrawnAndWhenTheFrameIsComplete) {
    std::vector<std::string> log;
    std::vector<RECT> areas;
    UserInstallDisplay(std::make_unique<RecordingDisplay>(log, &areas));
    HWND top = Create(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 300, 200);
    HWND edit = CreateWindowExA(0, "EDIT", "x", WS_CHILD | WS_VISIBLE | WS_BORDER, 30, 40, 100, 22, top, nullptr,
                                nullptr, nullptr);
    Pump();
    log.clear();
    areas.clear();
    InvalidateRect(edit, nullptr, TRUE);
    Pump();
    const RECT bounds = InTopLevel(edit, top);
    ASSERT_FALSE(areas.empty());
    for (const RECT& a : areas) {
        EXPECT_FALSE(IsRectEmpty(&a));
        RECT inside{};
        IntersectRect(&inside, &a, &bounds);
        EXPECT_TRUE(EqualRect(&inside, &a)) << a.left << "," << a.top << "," << a.right << "," << a.bottom;
    }
    ASSERT_FALSE(log.empty());
    EXPECT_EQ(log.back(), "present");
    EXPECT_EQ(std::find(log.begin(), log.end(), "present") - log.begin(),
              std::find(log.rbegin(), log.rend(), "surface").base() - log.begin())
        << "presented once, after the last drawing";
    UserInstallDisplay(nullptr);
}

}  // namespace
