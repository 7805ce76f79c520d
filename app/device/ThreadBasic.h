#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>

class Sleeper;

// A worker thread that calls ThreadPass once, or, with repeat set, again after every pause for
// as long as running is set; it then signals its stop event and ends with its exit code.
class CThreadBasic {
public:
    static constexpr int kDefaultPauseMs = 30;
    static constexpr int kStopWaitMs = 1000;

    explicit CThreadBasic(Sleeper& clock);
    virtual ~CThreadBasic();
    CThreadBasic(const CThreadBasic&) = delete;
    CThreadBasic& operator=(const CThreadBasic&) = delete;

    bool StartThread(int pauseMs = kDefaultPauseMs, bool repeat = true);
    // Clears running and waits at most waitMs for the stop event; true when the thread ended.
    // A thread still inside an exchange is joined by the destructor.
    bool StopThread(int waitMs = kStopWaitMs);
    bool IsRunning() const { return running_; }
    int64_t StartTick() const { return startTick_; }
    int ExitCode() const { return exitCode_; }

protected:
    // One pass of the worker; a derived class must call StopThread in its destructor.
    virtual void ThreadPass() = 0;
    // Waits ms on the clock in short steps; false (early) once a stop was asked for.
    bool PauseUnlessStopping(int ms);
    // Waits for the thread however long its last exchange takes; for destructors.
    void JoinThread();
    bool Stopping() const { return stopping_; }
    Sleeper& Clock() const { return clock_; }

private:
    void ThreadProc();

    Sleeper& clock_;
    std::atomic<bool> running_{false};
    std::atomic<bool> repeat_{false};
    std::atomic<bool> stopping_{false};
    int pauseMs_ = kDefaultPauseMs;
    std::atomic<int64_t> startTick_{0};
    std::atomic<int> exitCode_{0};

    // The stop event: manual reset, signalled when the thread procedure returns.
    std::mutex eventLock_;
    std::condition_variable eventChanged_;
    bool stopSignalled_ = false;
    std::thread thread_;
};
