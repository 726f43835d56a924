// Work done at most once whose result a program wants early: Start() begins it on a thread
// of its own, so that it overlaps what the program does meanwhile, and Get() answers the
// result, waiting for that thread or, when nothing started the work, doing it in the caller.
// Both may be called from any thread, any number of times. Destroying the object waits for
// work already begun, never begins any, and hands the result of work done to `release`.
// The work must not throw.
#pragma once

#include <functional>
#include <mutex>
#include <optional>
#include <system_error>
#include <thread>
#include <utility>

template <typename T>
class BackgroundOnce {
public:
    explicit BackgroundOnce(std::function<T()> work, std::function<void(const T&)> release = nullptr)
        : work_(std::move(work)), release_(std::move(release)) {}
    ~BackgroundOnce() {
        std::call_once(begun_, [] {});
        Join();
        if (result_ && release_)
            release_(*result_);
    }
    BackgroundOnce(const BackgroundOnce&) = delete;
    BackgroundOnce& operator=(const BackgroundOnce&) = delete;

    // A thread that cannot be made leaves the work to the first Get().
    void Start() {
        try {
            std::call_once(begun_, [this] { thread_ = std::thread([this] { result_.emplace(work_()); }); });
        } catch (const std::system_error&) {
        }
    }

    const T& Get() {
        std::call_once(begun_, [this] { result_.emplace(work_()); });
        Join();
        return *result_;
    }

private:
    // The result is written before the thread ends: joining makes it visible to the joiner,
    // and the end of call_once to every other caller.
    void Join() {
        std::call_once(joined_, [this] {
            if (thread_.joinable())
                thread_.join();
        });
    }

    std::function<T()> work_;
    std::function<void(const T&)> release_;
    std::once_flag begun_, joined_;
    std::thread thread_;
    std::optional<T> result_;
};
