#include "app/device/ThreadBasic.h"

#include <algorithm>
#include <chrono>

#include "app/device/Sleeper.h"

CThreadBasic::CThreadBasic(Sleeper& clock) : clock_(clock) {}

CThreadBasic::~CThreadBasic() {
    JoinThread();
}

bool CThreadBasic::StartThread(int pauseMs, bool repeat) {
    if (thread_.joinable()) {
        return false;
    }
    pauseMs_ = std::max(0, pauseMs);
    repeat_ = repeat;
    startTick_ = clock_.NowMs();
    {
        std::lock_guard guard(eventLock_);
        stopSignalled_ = false;
    }
    stopping_ = false;
    running_ = true;
    thread_ = std::thread([this] { ThreadProc(); });
    return true;
}

bool CThreadBasic::StopThread(int waitMs) {
    running_ = false;
    stopping_ = true;
    eventChanged_.notify_all();
    if (!thread_.joinable()) {
        return true;
    }
    std::unique_lock lock(eventLock_);
    bool ended = eventChanged_.wait_for(lock, std::chrono::milliseconds(waitMs),
                                        [this] { return stopSignalled_; });
    lock.unlock();
    if (ended) {
        thread_.join();
    }
    return ended;
}

void CThreadBasic::ThreadProc() {
    if (!repeat_) {
        ThreadPass();
    } else {
        while (running_) {
            ThreadPass();
            // The pause between passes ends at once when a stop is asked for.
            std::unique_lock lock(eventLock_);
            eventChanged_.wait_for(lock, std::chrono::milliseconds(pauseMs_),
                                   [this] { return !running_.load(); });
        }
    }
    std::lock_guard guard(eventLock_);
    stopSignalled_ = true;
    eventChanged_.notify_all();
}

void CThreadBasic::JoinThread() {
    running_ = false;
    stopping_ = true;
    eventChanged_.notify_all();
    if (thread_.joinable()) {
        thread_.join();
    }
}

bool CThreadBasic::PauseUnlessStopping(int ms) {
    constexpr int kStep = 50;
    while (ms > 0) {
        if (stopping_) {
            return false;
        }
        int step = std::min(ms, kStep);
        clock_.SleepMs(step);
        ms -= step;
    }
    return !stopping_;
}
