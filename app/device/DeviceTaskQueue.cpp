#include "app/device/DeviceTaskQueue.h"

void DeviceTaskQueue::Push(int code) {
    std::lock_guard guard(lock_);
    codes_.push_back({code, 0});
}

bool DeviceTaskQueue::PushIfEmpty(int code) {
    std::lock_guard guard(lock_);
    if (!codes_.empty()) {
        return false;
    }
    codes_.push_back({code, 0});
    return true;
}

std::optional<int> DeviceTaskQueue::TryPop() {
    if (std::optional<Entry> entry = TryPopEntry()) {
        return entry->code;
    }
    return std::nullopt;
}

std::optional<DeviceTaskQueue::Entry> DeviceTaskQueue::TryPopEntry() {
    std::lock_guard guard(lock_);
    if (codes_.empty()) {
        return std::nullopt;
    }
    Entry entry = codes_.front();
    codes_.pop_front();
    return entry;
}

bool DeviceTaskQueue::Empty() const {
    std::lock_guard guard(lock_);
    return codes_.empty();
}

size_t DeviceTaskQueue::Size() const {
    std::lock_guard guard(lock_);
    return codes_.size();
}

uint64_t DeviceTaskQueue::PushTracked(int code) {
    std::lock_guard guard(lock_);
    const uint64_t ticket = nextTicket_++;
    codes_.push_back({code, ticket});
    return ticket;
}

void DeviceTaskQueue::Finish(uint64_t ticket, bool ok) {
    if (ticket == 0) {
        return;
    }
    {
        std::lock_guard guard(lock_);
        results_[ticket] = ok;
    }
    finished_.notify_all();
}

std::optional<bool> DeviceTaskQueue::WaitFinished(uint64_t ticket,
                                                  std::chrono::milliseconds timeout) {
    std::unique_lock guard(lock_);
    if (!finished_.wait_for(guard, timeout, [&] { return results_.count(ticket) != 0; })) {
        return std::nullopt;
    }
    const bool ok = results_[ticket];
    results_.erase(ticket);
    return ok;
}
