#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "app/device/HidBackend.h"
#include "app/device/Sleeper.h"

// An accepted (vendor id, product id) pair with the model and connection mode it stands for.
struct DeviceFilter {
    int32_t vendor_id = 0;
    int32_t product_id = 0;
    std::wstring path_pattern;
    int32_t device_type = 0;
    int32_t connection_mode = 0;
};

// An open interface. The exchange lock keeps two exchanges from interleaving on it.
struct HidHandle {
    explicit HidHandle(std::unique_ptr<HidDevice> d) : device(std::move(d)) {}
    std::unique_ptr<HidDevice> device;
    std::mutex exchange;
    // Device reports read while waiting for a reply, kept for the next plain input read.
    std::deque<std::vector<uint8_t>> kept;
};
using HidHandlePtr = std::shared_ptr<HidHandle>;

struct HidInterfaceEntry {
    int32_t index = 0;
    uint16_t vendor_id = 0;
    uint16_t product_id = 0;
    std::string path;  // at most 1023 bytes
    std::string identity;
    std::wstring manufacturer;
    std::wstring product;
    std::wstring spare;
    HidHandlePtr handle;  // none for Bluetooth keyboard collections
    int32_t release_number = 0;
    int32_t device_type = 0;
    int32_t connection_mode = 0;
};

// Connection modes; 3 is a second receiver kind treated like 1.
enum ConnectionMode { kModeCable = 0, kModeReceiver = 1, kModeBluetooth = 2, kModeReceiver2 = 3 };
inline bool IsReceiverMode(int mode) {
    return mode == kModeReceiver || mode == kModeReceiver2;
}

// The accepted identifiers, the enumerated interfaces and the command interface, with the
// exchange primitives the command protocol is built from. The entry list and the cached handle
// are shared by the UI thread and the device worker and guarded by a lock of their own; each
// exchange holds its interface's exchange lock from the first pause to the last read.
class HidDeviceManager {
public:
    static constexpr size_t kMaxPathLength = 1023;
    static constexpr int kFeaturePauseMs = 66;
    static constexpr int kReadBackAttempts = 10;
    static constexpr int kReadBackPauseMs = 10;
    static constexpr int kAckReads = 5;
    static constexpr int kAckPauseMs = 200;
    static constexpr int kInputTimeoutMs = 100;

    HidDeviceManager(HidBackend* backend, Sleeper* sleeper);
    ~HidDeviceManager();
    HidDeviceManager(const HidDeviceManager&) = delete;
    HidDeviceManager& operator=(const HidDeviceManager&) = delete;

    // The process-wide manager; its back end is set once by the program at start-up.
    static HidDeviceManager& Instance();
    void SetBackend(HidBackend* backend);
    HidBackend* Backend() const;
    Sleeper& Clock() const { return *sleeper_; }

    void AddDeviceFilter(const DeviceFilter& filter);
    void ClearDeviceFilters();
    std::vector<DeviceFilter> Filters() const;
    // First filter row with these ids, or false.
    bool FindFilter(uint16_t vendorId, uint16_t productId, DeviceFilter& filter) const;

    void SetSelectedType(int32_t deviceType);
    int32_t SelectedType() const;
    void ClearCommandHandle();
    void SetOpened();
    bool IsOpened() const;
    // Appends an entry (its index is set here); used by the enumeration pass.
    void AddEntry(HidInterfaceEntry entry);

    void CloseAllInterfaces();
    // Copies of the entries of the selected type (all when it is 0); false when there are none.
    bool ListInterfaces(std::vector<HidInterfaceEntry>& out) const;
    int GetConnectionMode() const;
    HidHandlePtr GetCommandHandle();
    int FindInterface(int vendorId, int productId, int connectionMode) const;
    bool GetWiredReleaseNumber(int32_t& releaseNumber) const;

    // With read back the answer replaces the buffer; `received` gets how many of its bytes the
    // device really sent (0 when no get succeeded), since the rest is still the request's.
    bool SendFeatureReport(uint8_t* buffer, size_t length, bool readBack,
                           size_t* received = nullptr);
    bool SendAndWaitAck(uint8_t* buffer, size_t length, size_t* received = nullptr);
    int ReadInputReport(const HidHandlePtr& handle, uint8_t* buffer, size_t length);
    // Sends (after the usual pause) and reads up to `reads` input reports, pausing after each
    // the judge does not settle; judge gives 1 for success, -1 for failure, 0 to go on.
    // Replies left over from earlier commands are dropped first, so they cannot answer this one.
    using ReplyJudge = std::function<int(const uint8_t* report, int size)>;
    bool SendAndAwaitReply(uint8_t* buffer, size_t length, int reads, int pauseMs,
                           const ReplyJudge& judge);
    // Only while enumerating: the device is not an entry yet.
    void QueryPairedIds(HidDevice& device, uint16_t& vendorId, uint16_t& productId);

private:
    int PickCommandEntry() const;  // index into entries_ or -1; state lock held
    // The command handle for an exchange of `length` bytes; none when closed or empty.
    HidHandlePtr ExchangeHandle(size_t length);
    int ReadInputLocked(HidHandle& handle, uint8_t* buffer, size_t length);
    int ReadReplyLocked(HidHandle& handle, uint8_t* buffer, size_t length);
    void DropStaleReplies(HidHandle& handle);

    HidBackend* backend_;
    Sleeper* sleeper_;
    mutable std::mutex state_;
    std::vector<DeviceFilter> filters_;
    std::vector<HidInterfaceEntry> entries_;
    bool opened_ = false;
    int32_t selectedType_ = 0;
    HidHandlePtr commandHandle_;
};
