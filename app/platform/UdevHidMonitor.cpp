#include "app/platform/UdevHidMonitor.h"

#include <fcntl.h>
#include <libudev.h>
#include <poll.h>
#include <unistd.h>

#include <cstring>

#include "app/device/HidBackend.h"
#include "app/device/HidIdentity.h"

UdevHidMonitor::UdevHidMonitor(HidBackend& backend) : backend_(backend) {}

UdevHidMonitor::~UdevHidMonitor() {
    Stop();
}

bool UdevHidMonitor::Start(DeviceChangeHandler handler) {
    if (thread_.joinable()) {
        return false;
    }
    udev_ = udev_new();
    monitor_ = udev_ != nullptr ? udev_monitor_new_from_netlink(udev_, "udev") : nullptr;
    if (monitor_ == nullptr ||
        udev_monitor_filter_add_match_subsystem_devtype(monitor_, "hidraw", nullptr) < 0 ||
        udev_monitor_enable_receiving(monitor_) < 0 || pipe2(stopPipe_, O_CLOEXEC) != 0) {
        Stop();
        return false;
    }
    for (const HidInterfaceInfo& info : backend_.Enumerate()) {
        identities_[info.path] = BuildIdentityText(info);
    }
    thread_ = std::thread([this, handler = std::move(handler)] { Run(handler); });
    return true;
}

void UdevHidMonitor::Stop() {
    if (thread_.joinable()) {
        char stop = 1;
        (void)!write(stopPipe_[1], &stop, 1);
        thread_.join();
    }
    for (int& fd : stopPipe_) {
        if (fd >= 0) {
            close(fd);
            fd = -1;
        }
    }
    if (monitor_ != nullptr) {
        udev_monitor_unref(monitor_);
        monitor_ = nullptr;
    }
    if (udev_ != nullptr) {
        udev_unref(udev_);
        udev_ = nullptr;
    }
}

void UdevHidMonitor::Run(DeviceChangeHandler handler) {
    int fd = udev_monitor_get_fd(monitor_);
    while (true) {
        pollfd p[2] = {{fd, POLLIN, 0}, {stopPipe_[0], POLLIN, 0}};
        if (poll(p, 2, -1) < 0 || (p[1].revents & POLLIN)) {
            return;
        }
        udev_device* device = udev_monitor_receive_device(monitor_);
        if (device == nullptr) {
            continue;
        }
        const char* action = udev_device_get_action(device);
        const char* node = udev_device_get_devnode(device);
        if (action != nullptr && node != nullptr) {
            std::string path = node;
            if (std::strcmp(action, "add") == 0) {
                HidInterfaceInfo info;
                if (backend_.Describe(path, info)) {
                    identities_[path] = BuildIdentityText(info);
                }
                handler({DeviceChange::Arrival, path, identities_[path]});
            } else if (std::strcmp(action, "remove") == 0) {
                auto known = identities_.find(path);
                std::string identity = known != identities_.end() ? known->second : "";
                if (known != identities_.end()) {
                    identities_.erase(known);
                }
                handler({DeviceChange::Removal, path, identity});
            }
        }
        udev_device_unref(device);
    }
}
