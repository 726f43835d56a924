// The one clock of the system: the millisecond tick count, the high-resolution counter and
// the wall-clock date and time all come from the installed clock, so tests can replace it
// with a fake one and move time forward at will.
#pragma once

#include <cstdint>

// Date and time as days since 1899-12-30 (integral part) plus the fraction of the day.
using TDateTime = double;

class TClock {
public:
    virtual ~TClock() = default;
    // Milliseconds since start-up; wraps around every 2^32 ms (about 49.7 days).
    virtual std::uint32_t TickCount() const = 0;
    // High-resolution counter and its counts per second.
    virtual std::int64_t PerformanceCounter() const = 0;
    virtual std::int64_t PerformanceFrequency() const = 0;
    // Local date and time.
    virtual TDateTime Now() const = 0;
};

// The real clock: steady time for the tick and the counter, the local wall clock for Now.
class TSystemClock : public TClock {
public:
    std::uint32_t TickCount() const override;
    std::int64_t PerformanceCounter() const override;
    std::int64_t PerformanceFrequency() const override;
    TDateTime Now() const override;
};

// A clock that moves only when told to. Its counter runs at one million counts per second.
class TFakeClock : public TClock {
public:
    explicit TFakeClock(TDateTime now = 0.0, std::uint32_t tickCount = 0) : now_(now), tick_(tickCount) {}

    std::uint32_t TickCount() const override { return tick_; }
    std::int64_t PerformanceCounter() const override { return counter_; }
    std::int64_t PerformanceFrequency() const override { return kFrequency; }
    TDateTime Now() const override { return now_; }

    // Moves every reading forward by the given milliseconds (the tick wraps at 2^32).
    void Advance(std::uint32_t milliseconds);
    void SetTickCount(std::uint32_t tickCount) { tick_ = tickCount; }
    void SetNow(TDateTime now) { now_ = now; }

    static constexpr std::int64_t kFrequency = 1000000;

private:
    TDateTime now_;
    std::uint32_t tick_;
    std::int64_t counter_ = 0;
};

// The installed clock (the system clock unless one was installed).
TClock& CurrentClock();
// Installs a clock that the caller keeps alive; nullptr restores the system clock.
void InstallClock(TClock* clock);

// Installs a clock for the lifetime of the guard and restores the previous one afterwards.
class TClockOverride {
public:
    explicit TClockOverride(TClock& clock);
    ~TClockOverride();
    TClockOverride(const TClockOverride&) = delete;
    TClockOverride& operator=(const TClockOverride&) = delete;

private:
    TClock* previous_;
};
