#include "UserFixture.h"

#include <map>

namespace {

std::vector<LoggedMessage>& Log() {
    static std::vector<LoggedMessage> log;
    return log;
}

std::map<std::pair<HWND, UINT>, std::function<LRESULT(WPARAM, LPARAM)>>& Answers() {
    static std::map<std::pair<HWND, UINT>, std::function<LRESULT(WPARAM, LPARAM)>> answers;
    return answers;
}

constexpr char kClass[] = "UserTestWindow";

}  // namespace

LRESULT UserTest::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    Log().push_back({window, message, wParam, lParam});
    auto it = Answers().find({window, message});
    if (it == Answers().end())
        it = Answers().find({nullptr, message});
    if (it != Answers().end())
        return it->second(wParam, lParam);
    return DefWindowProcA(window, message, wParam, lParam);
}

void UserTest::Answer(HWND window, UINT message, std::function<LRESULT(WPARAM, LPARAM)> answer) {
    Answers()[{window, message}] = std::move(answer);
}

void UserTest::SetUp() {
    clockGuard_ = std::make_unique<TClockOverride>(clock_);
    UserResetWindowSystem();
    UserSetScreenSize(1024, 768);
    Log().clear();
    Answers().clear();
    WNDCLASSA wc{CS_DBLCLKS, Procedure, 0, 0, nullptr, nullptr, nullptr,
                 reinterpret_cast<HBRUSH>(static_cast<DWORD_PTR>(COLOR_BTNFACE + 1)), nullptr, kClass};
    ASSERT_NE(RegisterClassA(&wc), 0);
}

void UserTest::TearDown() {
    UserResetWindowSystem();
    Answers().clear();
    Log().clear();
    clockGuard_.reset();
}

HWND UserTest::Create(DWORD style, int x, int y, int width, int height, HWND parent, DWORD exStyle, const char* text,
                      int id) {
    HWND window = CreateWindowExA(exStyle, kClass, text, style, x, y, width, height, parent,
                                  reinterpret_cast<HMENU>(static_cast<DWORD_PTR>(id)), nullptr, nullptr);
    return window;
}

std::vector<UINT> UserTest::Take(HWND window, const std::set<UINT>& only) {
    std::vector<UINT> out;
    std::vector<LoggedMessage> rest;
    for (const LoggedMessage& m : Log()) {
        if (m.window == window) {
            if (only.empty() || only.count(m.message))
                out.push_back(m.message);
        } else {
            rest.push_back(m);
        }
    }
    Log() = rest;
    return out;
}

std::vector<LoggedMessage> UserTest::TakeAll(const std::set<UINT>& only) {
    std::vector<LoggedMessage> out;
    for (const LoggedMessage& m : Log())
        if (only.count(m.message))
            out.push_back(m);
    Log().clear();
    return out;
}

void UserTest::ClearLog() { Log().clear(); }

POINT UserTest::ScreenOf(HWND window, int x, int y) {
    POINT p{x, y};
    ClientToScreen(window, &p);
    return p;
}
