#include "platform/rtl/BackgroundOnce.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <latch>
#include <thread>
#include <vector>

namespace {

using namespace std::chrono_literals;

// Work that takes a while and records how often, and on which thread, it ran.
struct Recorder {
    std::atomic<int> runs{0};
    std::thread::id thread;

    std::function<int()> Work(std::chrono::milliseconds takes = 20ms) {
        return [this, takes] {
            thread = std::this_thread::get_id();
            std::this_thread::sleep_for(takes);
            ++runs;
            return 42;
        };
    }
};

} // namespace

TEST(BackgroundOnce, StartedWorkRunsOnAThreadOfItsOwnAndGetWaitsForIt) {
    Recorder recorder;
    BackgroundOnce<int> once(recorder.Work());
    once.Start();
    EXPECT_EQ(42, once.Get());
    EXPECT_EQ(1, recorder.runs);
    EXPECT_NE(std::this_thread::get_id(), recorder.thread);
    once.Start();
    EXPECT_EQ(42, once.Get());
    EXPECT_EQ(1, recorder.runs);
}

TEST(BackgroundOnce, WithoutAStartTheFirstGetDoesTheWorkItself) {
    Recorder recorder;
    BackgroundOnce<int> once(recorder.Work(0ms));
    EXPECT_EQ(42, once.Get());
    EXPECT_EQ(std::this_thread::get_id(), recorder.thread);
    once.Start();
    EXPECT_EQ(42, once.Get());
    EXPECT_EQ(1, recorder.runs);
}

TEST(BackgroundOnce, ConcurrentFirstUsesDoTheWorkOnceAndAllSeeItsResult) {
    for (bool started : {false, true}) {
        SCOPED_TRACE(started ? "started" : "not started");
        Recorder recorder;
        BackgroundOnce<int> once(recorder.Work(5ms));
        constexpr int kThreads = 8;
        std::latch go(kThreads);
        std::vector<int> seen(kThreads, 0);
        std::vector<std::thread> users;
        for (int i = 0; i < kThreads; ++i)
            users.emplace_back([&, i] {
                go.arrive_and_wait();
                if (started && i % 2 == 0)
                    once.Start();
                seen[static_cast<std::size_t>(i)] = once.Get();
            });
        for (std::thread& t : users)
            t.join();
        EXPECT_EQ(1, recorder.runs);
        EXPECT_EQ(std::vector<int>(kThreads, 42), seen);
    }
}

TEST(BackgroundOnce, DestroyingWaitsForStartedWorkAndReleasesItsResult) {
    Recorder recorder;
    std::vector<int> released;
    {
        BackgroundOnce<int> once(recorder.Work(30ms), [&](const int& result) { released.push_back(result); });
        once.Start();
    }
    EXPECT_EQ(1, recorder.runs);
    EXPECT_EQ(std::vector<int>{42}, released);
}

TEST(BackgroundOnce, DestroyingNeverBeginsTheWork) {
    Recorder recorder;
    int releases = 0;
    {
        BackgroundOnce<int> once(recorder.Work(0ms), [&](const int&) { ++releases; });
    }
    EXPECT_EQ(0, recorder.runs);
    EXPECT_EQ(0, releases);
}
