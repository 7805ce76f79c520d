#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <map>
#include <mutex>
#include <optional>

// The device task queue: FIFO of task codes, appended by the UI thread and the worker, drained
// by the worker. A caller that must know when its task has run (a command line, for one)
// queues it with PushTracked and waits for the worker's Finish.
class DeviceTaskQueue {
public:
    struct Entry {
        int code = 0;
        uint64_t ticket = 0;  // 0: nobody waits for it
    };

    void Push(int code);
    // Appends unless a task is already waiting; true when appended.
    bool PushIfEmpty(int code);
    std::optional<int> TryPop();
    std::optional<Entry> TryPopEntry();
    bool Empty() const;
    size_t Size() const;

    // Appends the code and returns the ticket to wait for.
    uint64_t PushTracked(int code);
    // The worker has run the entry of this ticket; ok is its result.
    void Finish(uint64_t ticket, bool ok);
    // The result of the ticket's task once the worker has run it; nullopt when the time ran out
    // first.
    std::optional<bool> WaitFinished(uint64_t ticket, std::chrono::milliseconds timeout);

private:
    mutable std::mutex lock_;
    std::condition_variable finished_;
    std::deque<Entry> codes_;
    uint64_t nextTicket_ = 1;
    std::map<uint64_t, bool> results_;
};
