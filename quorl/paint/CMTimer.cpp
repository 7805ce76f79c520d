#include "quorl/paint/CMTimer.h"

#include <algorithm>
#include <atomic>

namespace Quorl {

namespace {

std::mutex& RegistryLock() {
    static std::mutex lock;
    return lock;
}
std::vector<CMTimer*>& Registry() {
    static std::vector<CMTimer*> timers;
    return timers;
}
std::atomic<UINT> g_nextId{1};

}  // namespace

CMTimer::CMTimer() {
    std::lock_guard guard(RegistryLock());
    Registry().push_back(this);
}

CMTimer::~CMTimer() {
    StopTimerThread();
    std::lock_guard guard(RegistryLock());
    auto& all = Registry();
    all.erase(std::remove(all.begin(), all.end(), this), all.end());
}

void CMTimer::StopTimerThread() {
    {
        std::lock_guard guard(m_lock);
        m_records.clear();
        m_stop = true;
    }
    m_wake.notify_all();
    if (m_thread.joinable() && m_thread.get_id() != std::this_thread::get_id()) {
        m_thread.join();
    }
}

UINT CMTimer::SetTimer(UINT elapseMs, CString name, BOOL appTimer) {
    if (elapseMs == 0) {
        return 0;
    }
    UINT id = g_nextId.fetch_add(1);
    if (id == 0) {
        id = g_nextId.fetch_add(1);
    }
    {
        std::lock_guard guard(m_lock);
        const auto period = std::chrono::milliseconds(elapseMs);
        m_records.push_back({id, name, appTimer ? 1 : 0, period, Clock::now() + period});
        m_stop = false;
        if (!m_thread.joinable()) {
            m_thread = std::thread([this] { Run(); });
        }
    }
    m_wake.notify_all();
    return id;
}

void CMTimer::WaitForCallback(std::unique_lock<std::mutex>& guard) {
    if (m_thread.get_id() != std::this_thread::get_id()) {
        m_idle.wait(guard, [this] { return !m_firing; });
    }
}

UINT CMTimer::KillTimer(UINT id) {
    std::unique_lock guard(m_lock);
    m_records.erase(std::remove_if(m_records.begin(), m_records.end(),
                                   [&](const Record& r) { return r.id == id; }),
                    m_records.end());
    WaitForCallback(guard);
    return static_cast<UINT>(m_records.size());
}

UINT CMTimer::KillTimer(CString name) {
    std::unique_lock guard(m_lock);
    m_records.erase(std::remove_if(m_records.begin(), m_records.end(),
                                   [&](const Record& r) { return r.name == name; }),
                    m_records.end());
    WaitForCallback(guard);
    return static_cast<UINT>(m_records.size());
}

void CMTimer::KillTimer() {
    std::unique_lock guard(m_lock);
    m_records.clear();
    WaitForCallback(guard);
}

BOOL CMTimer::GetTimerIsRun(UINT id) {
    std::lock_guard guard(m_lock);
    return std::any_of(m_records.begin(), m_records.end(),
                       [&](const Record& r) { return r.id == id; });
}

BOOL CMTimer::GetTimerIsRun(CString name) {
    std::lock_guard guard(m_lock);
    return std::any_of(m_records.begin(), m_records.end(),
                       [&](const Record& r) { return r.name == name; });
}

CString CMTimer::GetTimerName(UINT id) {
    std::lock_guard guard(m_lock);
    for (const Record& r : m_records) {
        if (r.id == id) {
            return r.name;
        }
    }
    return {};
}

BOOL CMTimer::IsAppTimer(UINT id) {
    std::lock_guard guard(m_lock);
    for (const Record& r : m_records) {
        if (r.id == id) {
            return r.app;
        }
    }
    return 0;
}

CMTimer* CMTimer::GetMTimer(UINT id) {
    std::lock_guard guard(RegistryLock());
    for (CMTimer* timer : Registry()) {
        if (timer->GetTimerIsRun(id)) {
            return timer;
        }
    }
    return nullptr;
}

void CMTimer::Run() {
    std::unique_lock guard(m_lock);
    while (!m_stop) {
        if (m_records.empty()) {
            m_wake.wait(guard);
            continue;
        }
        auto due =
            std::min_element(m_records.begin(), m_records.end(),
                             [](const Record& a, const Record& b) { return a.next < b.next; });
        const Clock::time_point when = due->next;
        if (Clock::now() < when) {
            m_wake.wait_until(guard, when);
            continue;
        }
        // Skip ticks that were missed instead of firing them in a burst.
        const auto now = Clock::now();
        do {
            due->next += due->period;
        } while (due->next <= now);
        const UINT id = due->id;
        const CString name = due->name;
        const BOOL app = due->app;
        m_firing = true;
        guard.unlock();
        OnMTimer(id);
        if (app) {
            OnMTimer(id, name);
        }
        guard.lock();
        m_firing = false;
        m_idle.notify_all();
    }
}

}  // namespace Quorl
