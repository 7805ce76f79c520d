#pragma once

#include <deque>
#include <mutex>
#include <optional>

// The device task queue: FIFO of task codes, appended by the UI thread and the worker, drained
// by the worker.
class DeviceTaskQueue {
public:
    void Push(int code);
    // Appends unless a task is already waiting; true when appended.
    bool PushIfEmpty(int code);
    std::optional<int> TryPop();
    bool Empty() const;
    size_t Size() const;

private:
    mutable std::mutex lock_;
    std::deque<int> codes_;
};
