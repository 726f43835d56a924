// Backend selection and the headless backend.
#include "platform/win/user/Display.h"

#include "platform/rtl/Clock.h"
#include "platform/win/kernel/Time.h"


namespace {

class HeadlessDisplay : public DisplayBackend {
public:
    bool IsHeadless() const override { return true; }
    void PollEvents() override {}
    bool WaitForEvents(bool hasDeadline, DWORD dueTick) override {
        if (!hasDeadline)
            return false;
        // Nothing but a timer can wake a headless window system: let the clock run
        // to the deadline (a fake clock moves forward at once).
        const LONG remaining = static_cast<LONG>(dueTick - GetTickCount());
        if (remaining > 0)
            Sleep(static_cast<DWORD>(remaining));
        return true;
    }
};

std::unique_ptr<DisplayBackend>& Installed() {
    static std::unique_ptr<DisplayBackend> backend = std::make_unique<HeadlessDisplay>();
    return backend;
}

}  // namespace

DisplayBackend& UserDisplay() { return *Installed(); }

void UserInstallDisplay(std::unique_ptr<DisplayBackend> backend) {
    Installed() = backend ? std::move(backend) : std::make_unique<HeadlessDisplay>();
}
