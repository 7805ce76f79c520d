#include "app/device/DeviceTaskQueue.h"

void DeviceTaskQueue::Push(int code) {
    std::lock_guard guard(lock_);
    codes_.push_back(code);
}

bool DeviceTaskQueue::PushIfEmpty(int code) {
    std::lock_guard guard(lock_);
    if (!codes_.empty()) {
        return false;
    }
    codes_.push_back(code);
    return true;
}

std::optional<int> DeviceTaskQueue::TryPop() {
    std::lock_guard guard(lock_);
    if (codes_.empty()) {
        return std::nullopt;
    }
    int code = codes_.front();
    codes_.pop_front();
    return code;
}

bool DeviceTaskQueue::Empty() const {
    std::lock_guard guard(lock_);
    return codes_.empty();
}

size_t DeviceTaskQueue::Size() const {
    std::lock_guard guard(lock_);
    return codes_.size();
}
