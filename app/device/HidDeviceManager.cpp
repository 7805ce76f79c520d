#include "app/device/HidDeviceManager.h"

#include <algorithm>
#include <cstring>

HidDeviceManager::HidDeviceManager(HidBackend* backend, Sleeper* sleeper)
    : backend_(backend), sleeper_(sleeper) {}

HidDeviceManager::~HidDeviceManager() {
    CloseAllInterfaces();
}

HidDeviceManager& HidDeviceManager::Instance() {
    static SteadySleeper sleeper;
    static HidDeviceManager manager(nullptr, &sleeper);
    return manager;
}

void HidDeviceManager::SetBackend(HidBackend* backend) {
    std::lock_guard guard(state_);
    backend_ = backend;
}

HidBackend* HidDeviceManager::Backend() const {
    std::lock_guard guard(state_);
    return backend_;
}

void HidDeviceManager::AddDeviceFilter(const DeviceFilter& filter) {
    std::lock_guard guard(state_);
    filters_.push_back(filter);
}

void HidDeviceManager::ClearDeviceFilters() {
    std::lock_guard guard(state_);
    filters_.clear();
}

std::vector<DeviceFilter> HidDeviceManager::Filters() const {
    std::lock_guard guard(state_);
    return filters_;
}

bool HidDeviceManager::FindFilter(uint16_t vendorId, uint16_t productId,
                                  DeviceFilter& filter) const {
    std::lock_guard guard(state_);
    for (const DeviceFilter& f : filters_) {
        if (f.vendor_id == vendorId && f.product_id == productId) {
            filter = f;
            return true;
        }
    }
    return false;
}

void HidDeviceManager::SetSelectedType(int32_t deviceType) {
    std::lock_guard guard(state_);
    selectedType_ = deviceType;
    commandHandle_.reset();
}

int32_t HidDeviceManager::SelectedType() const {
    std::lock_guard guard(state_);
    return selectedType_;
}

void HidDeviceManager::ClearCommandHandle() {
    std::lock_guard guard(state_);
    commandHandle_.reset();
}

void HidDeviceManager::SetOpened() {
    std::lock_guard guard(state_);
    opened_ = true;
}

bool HidDeviceManager::IsOpened() const {
    std::lock_guard guard(state_);
    return opened_;
}

void HidDeviceManager::AddEntry(HidInterfaceEntry entry) {
    std::lock_guard guard(state_);
    entry.index = static_cast<int32_t>(entries_.size());
    if (entry.path.size() > kMaxPathLength) {
        entry.path.resize(kMaxPathLength);
    }
    entries_.push_back(std::move(entry));
}

void HidDeviceManager::CloseAllInterfaces() {
    std::vector<HidInterfaceEntry> closing;
    {
        std::lock_guard guard(state_);
        if (!opened_) {
            return;
        }
        opened_ = false;
        commandHandle_.reset();
        closing.swap(entries_);
    }
    // An exchange still running keeps its handle alive until it ends.
}

bool HidDeviceManager::ListInterfaces(std::vector<HidInterfaceEntry>& out) const {
    std::lock_guard guard(state_);
    if (entries_.empty()) {
        return false;
    }
    for (const HidInterfaceEntry& e : entries_) {
        if (selectedType_ == 0 || e.device_type == selectedType_) {
            out.push_back(e);
        }
    }
    return true;
}

int HidDeviceManager::PickCommandEntry() const {
    for (int mode : {kModeCable, kModeBluetooth, kModeReceiver, kModeReceiver2}) {
        for (size_t i = 0; i < entries_.size(); ++i) {
            if (entries_[i].device_type == selectedType_ && entries_[i].connection_mode == mode) {
                return static_cast<int>(i);
            }
        }
    }
    return -1;
}

int HidDeviceManager::GetConnectionMode() const {
    std::lock_guard guard(state_);
    int i = PickCommandEntry();
    return i < 0 ? -1 : entries_[i].connection_mode;
}

HidHandlePtr HidDeviceManager::GetCommandHandle() {
    std::lock_guard guard(state_);
    if (commandHandle_) {
        return commandHandle_;
    }
    int i = PickCommandEntry();
    if (i >= 0) {
        commandHandle_ = entries_[i].handle;
    }
    return commandHandle_;
}

int HidDeviceManager::FindInterface(int vendorId, int productId, int connectionMode) const {
    std::lock_guard guard(state_);
    for (size_t i = 0; i < entries_.size(); ++i) {
        const HidInterfaceEntry& e = entries_[i];
        if (e.vendor_id == vendorId && e.product_id == productId &&
            e.connection_mode == connectionMode) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

bool HidDeviceManager::GetWiredReleaseNumber(int32_t& releaseNumber) const {
    std::lock_guard guard(state_);
    for (const HidInterfaceEntry& e : entries_) {
        if (e.connection_mode == kModeCable) {
            releaseNumber = e.release_number;
            return true;
        }
    }
    return false;
}

namespace {
// A get's result as a byte count within the buffer; 0 for nothing or an error.
size_t Delivered(int result, size_t length) {
    return result > 0 ? std::min(static_cast<size_t>(result), length) : 0;
}
}  // namespace

HidHandlePtr HidDeviceManager::ExchangeHandle(size_t length) {
    HidHandlePtr handle = IsOpened() ? GetCommandHandle() : nullptr;
    return length == 0 ? nullptr : handle;
}

bool HidDeviceManager::SendFeatureReport(uint8_t* buffer, size_t length, bool readBack,
                                         size_t* received) {
    if (received != nullptr) {
        *received = 0;
    }
    HidHandlePtr handle = ExchangeHandle(length);
    if (!handle) {
        return false;
    }
    std::lock_guard exchange(handle->exchange);
    sleeper_->SleepMs(kFeaturePauseMs);
    std::vector<uint8_t> scratch(buffer, buffer + length);
    int result = handle->device->SendFeatureReport(scratch.data(), length);
    if (result > 0 && readBack) {
        for (int attempt = 0; attempt < kReadBackAttempts; ++attempt) {
            std::memcpy(scratch.data(), buffer, length);
            result = handle->device->GetFeatureReport(scratch.data(), length);
            if (result > 0) {
                break;
            }
            if (attempt + 1 < kReadBackAttempts) {
                sleeper_->SleepMs(kReadBackPauseMs);
            }
        }
        std::memcpy(buffer, scratch.data(), length);
        if (received != nullptr) {
            *received = Delivered(result, length);
        }
    }
    return result > 0;
}

bool HidDeviceManager::SendAndWaitAck(uint8_t* buffer, size_t length, size_t* received) {
    if (received != nullptr) {
        *received = 0;
    }
    HidHandlePtr handle = ExchangeHandle(length);
    if (!handle) {
        return false;
    }
    std::lock_guard exchange(handle->exchange);
    DropStaleReplies(*handle);
    std::vector<uint8_t> scratch(buffer, buffer + length);
    if (handle->device->SendFeatureReport(scratch.data(), length) <= 0) {
        return false;
    }
    size_t got = 0;
    for (int read = 0; read < kAckReads; ++read) {
        int input = ReadReplyLocked(*handle, scratch.data(), length);
        if (input >= 3 && scratch[0] == 0x54 && scratch[1] == 0xE4 && scratch[2] == 0x01) {
            std::memcpy(scratch.data(), buffer, length);
            got = Delivered(handle->device->GetFeatureReport(scratch.data(), length), length);
            break;
        }
        if (read + 1 < kAckReads) {
            sleeper_->SleepMs(kAckPauseMs);
        }
    }
    std::memcpy(buffer, scratch.data(), length);
    if (received != nullptr) {
        *received = got;
    }
    return got > 0;
}

namespace {
constexpr size_t kMaxKeptReports = 64;
constexpr size_t kReportBuffer = 65;

bool IsReply(const uint8_t* report, int size) {
    return size >= 2 && report[0] == 0x54 && (report[1] == 0xE3 || report[1] == 0xE4);
}

void Keep(HidHandle& handle, const uint8_t* report, int size) {
    if (handle.kept.size() == kMaxKeptReports) {
        handle.kept.pop_front();
    }
    handle.kept.emplace_back(report, report + size);
}
}  // namespace

int HidDeviceManager::ReadInputLocked(HidHandle& handle, uint8_t* buffer, size_t length) {
    if (!handle.kept.empty()) {
        std::vector<uint8_t> report = std::move(handle.kept.front());
        handle.kept.pop_front();
        size_t n = std::min(length, report.size());
        std::copy(report.begin(), report.begin() + n, buffer);
        return static_cast<int>(n);
    }
    int got = handle.device->ReadInputReport(buffer, length, kInputTimeoutMs);
    return got < 0 ? -1 : std::min<int>(got, static_cast<int>(length));
}

int HidDeviceManager::ReadReplyLocked(HidHandle& handle, uint8_t* buffer, size_t length) {
    int got = handle.device->ReadInputReport(buffer, length, kInputTimeoutMs);
    got = got < 0 ? -1 : std::min<int>(got, static_cast<int>(length));
    if (got > 0 && !IsReply(buffer, got)) {
        Keep(handle, buffer, got);  // a device report the poll still has to see
    }
    return got;
}

void HidDeviceManager::DropStaleReplies(HidHandle& handle) {
    uint8_t report[kReportBuffer];
    for (size_t i = 0; i < kMaxKeptReports; ++i) {
        int got = handle.device->ReadInputReport(report, sizeof report, 0);
        if (got <= 0) {
            return;
        }
        if (!IsReply(report, got)) {
            Keep(handle, report, got);
        }
    }
}

bool HidDeviceManager::SendAndAwaitReply(uint8_t* buffer, size_t length, int reads, int pauseMs,
                                         const ReplyJudge& judge) {
    HidHandlePtr handle = ExchangeHandle(length);
    if (!handle) {
        return false;
    }
    std::lock_guard exchange(handle->exchange);
    sleeper_->SleepMs(kFeaturePauseMs);
    DropStaleReplies(*handle);
    std::vector<uint8_t> scratch(buffer, buffer + length);
    if (handle->device->SendFeatureReport(scratch.data(), length) <= 0) {
        return false;
    }
    for (int read = 0; read < reads; ++read) {
        uint8_t report[kReportBuffer] = {};
        int got = ReadReplyLocked(*handle, report, sizeof report);
        int verdict = got > 0 ? judge(report, got) : 0;
        if (verdict != 0) {
            return verdict > 0;
        }
        sleeper_->SleepMs(pauseMs);
    }
    return false;
}

int HidDeviceManager::ReadInputReport(const HidHandlePtr& handle, uint8_t* buffer, size_t length) {
    if (!handle || length == 0) {
        return -1;
    }
    std::lock_guard exchange(handle->exchange);
    return ReadInputLocked(*handle, buffer, length);
}

void HidDeviceManager::QueryPairedIds(HidDevice& device, uint16_t& vendorId, uint16_t& productId) {
    uint8_t report[21] = {0x51, 0x03};
    vendorId = 0;
    productId = 0;
    if (device.SendFeatureReport(report, sizeof report) > 0) {
        for (int attempt = 0; attempt < kReadBackAttempts; ++attempt) {
            uint8_t answer[21] = {0x51, 0x03};
            if (device.GetFeatureReport(answer, sizeof answer) > 0) {
                vendorId = static_cast<uint16_t>(answer[3] | (answer[4] << 8));
                productId = static_cast<uint16_t>(answer[5] | (answer[6] << 8));
                break;
            }
            sleeper_->SleepMs(kReadBackPauseMs);
        }
    }
    if (vendorId == 0 && productId == 0) {
        vendorId = 0x3434;
        productId = 0xD032;
    }
}
