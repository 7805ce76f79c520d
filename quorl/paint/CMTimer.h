#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

#include "quorl/core/BaseTypes.h"
#include "quorl/core/CString.h"

namespace Quorl {

// Periodic high-resolution timers served by one thread per object. The callbacks run on that
// thread. Ids are unique in the process, starting at 1. A derived class must call
// StopTimerThread() in its destructor so that no callback reaches a half-destroyed object.
class CMTimer {
public:
    CMTimer();
    virtual ~CMTimer();
    CMTimer(const CMTimer&) = delete;
    CMTimer& operator=(const CMTimer&) = delete;

    virtual void OnMTimer(UINT, CString) {}
    virtual void OnMTimer(UINT) {}

    // A new timer; 0 when elapseMs is 0.
    UINT SetTimer(UINT elapseMs, CString name, BOOL appTimer);
    // Stops one timer; the number of timers left.
    UINT KillTimer(UINT id);
    UINT KillTimer(CString name);
    void KillTimer();
    BOOL GetTimerIsRun(UINT id);
    BOOL GetTimerIsRun(CString name);
    CString GetTimerName(UINT id);
    BOOL IsAppTimer(UINT id);
    // The object that owns the id; null when none.
    static CMTimer* GetMTimer(UINT id);

protected:
    // Kills every timer and waits for the thread to end (a running callback finishes).
    void StopTimerThread();

private:
    using Clock = std::chrono::steady_clock;
    struct Record {
        UINT id;
        CString name;
        BOOL app;
        Clock::duration period;
        Clock::time_point next;
    };
    void Run();

    void WaitForCallback(std::unique_lock<std::mutex>& guard);

    std::mutex m_lock;
    std::condition_variable m_wake;
    std::vector<Record> m_records;
    std::thread m_thread;
    bool m_stop = false;
    // A callback is running on the timer thread; kills from other threads wait for it, so that
    // nothing ticks once a kill has returned.
    bool m_firing = false;
    std::condition_variable m_idle;
};

}  // namespace Quorl
