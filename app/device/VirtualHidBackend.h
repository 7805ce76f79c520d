#pragma once

#include <atomic>
#include <map>
#include <mutex>
#include <string>
#include <thread>

#include "app/device/DeviceChange.h"
#include "app/device/HidBackend.h"

// HID interfaces presented by talvane-virtual-mouse in a folder (see VirtualHidProtocol.h).
class VirtualHidBackend : public HidBackend {
public:
    // A device that does not answer a request within this time has gone.
    static constexpr int kReplyTimeoutMs = 1000;

    explicit VirtualHidBackend(std::string folder);
    std::vector<HidInterfaceInfo> Enumerate() override;
    std::unique_ptr<HidDevice> Open(const std::string& path) override;
    bool Describe(const std::string& path, HidInterfaceInfo& info) override;
    const std::string& Folder() const { return folder_; }

    // The folder named by TALVANE_VIRTUAL_HID_DIR, or empty.
    static std::string FolderFromEnvironment();

private:
    std::string folder_;
};

// Watches the folder: a descriptor put in place is an arrival, one removed a removal.
class VirtualHidWatcher : public DeviceChangeSource {
public:
    explicit VirtualHidWatcher(std::string folder);
    ~VirtualHidWatcher() override;
    bool Start(DeviceChangeHandler handler) override;
    void Stop() override;

private:
    void Run(int inotifyFd, DeviceChangeHandler handler);

    std::string folder_;
    std::thread thread_;
    int stopPipe_[2] = {-1, -1};
    std::map<std::string, std::string> identities_;  // socket path -> identity, for removals
};
