#include "app/device/DeviceConnector.h"

#include "app/device/ConnectionView.h"
#include "app/device/DeviceTaskQueue.h"
#include "app/device/HidDeviceManager.h"
#include "app/device/HidIdentity.h"
#include "quorl/core/Utf8.h"

DeviceConnector::DeviceConnector(HidDeviceManager& hid, ConnectionView& view,
                                 DeviceTaskQueue& tasks)
    : hid_(hid), view_(view), tasks_(tasks) {}

void DeviceConnector::SetModeEntries(std::vector<DeviceModeEntry> entries) {
    std::lock_guard guard(lock_);
    allModes_ = std::move(entries);
}

void DeviceConnector::SetCurrentType(int deviceType) {
    {
        std::lock_guard guard(lock_);
        currentType_ = deviceType;
    }
    hid_.SetSelectedType(deviceType);
}

int DeviceConnector::CurrentType() const {
    std::lock_guard guard(lock_);
    return currentType_;
}

bool DeviceConnector::Connected() const {
    std::lock_guard guard(lock_);
    return connected_;
}

bool DeviceConnector::PagesEnabled() const {
    std::lock_guard guard(lock_);
    return pagesEnabled_;
}

bool DeviceConnector::LightingTabShown() const {
    std::lock_guard guard(lock_);
    return lightingShown_;
}

void DeviceConnector::SetMouseOnline(bool online) {
    std::lock_guard guard(lock_);
    mouseOnline_ = online;
}

std::vector<DeviceModeEntry> DeviceConnector::ModeList() const {
    std::lock_guard guard(lock_);
    return modeList_;
}

void DeviceConnector::ConnectDevices() {
    view_.CloseSecondaryWindows();
    view_.SetBatteryInfo(0, 2);
    int type;
    bool online;
    {
        std::lock_guard guard(lock_);
        modeList_.clear();
        type = currentType_;
        online = mouseOnline_;
        hid_.ClearDeviceFilters();
        for (const DeviceModeEntry& m : allModes_) {
            if (m.device_type != type) {
                continue;
            }
            hid_.AddDeviceFilter({static_cast<int32_t>(m.vid), static_cast<int32_t>(m.pid), L"",
                                  m.device_type, m.mode});
            modeList_.push_back(m);
        }
    }
    hid_.ClearCommandHandle();
    hid_.CloseAllInterfaces();
    EnumerateDevice();
    hid_.SetOpened();
    view_.ClearMessageLine();

    std::vector<HidInterfaceEntry> found;
    if (!hid_.ListInterfaces(found)) {
        {
            std::lock_guard guard(lock_);
            connected_ = false;
            pagesEnabled_ = false;
        }
        view_.SetPagesEnabled(false);
        view_.SetStatusText(50);
        view_.SelectPageTab(0);
        view_.EnablePageTabs(false);
        return;
    }
    bool pages = false;
    bool lighting = false;
    switch (hid_.GetConnectionMode()) {
        case kModeCable:
            view_.SelectPageTab(0);
            view_.EnablePageTabs(true);
            view_.SetStatusText(51);
            pages = true;
            break;
        case kModeReceiver:
        case kModeReceiver2:
            if (online) {
                view_.EnablePageTabs(true);
                view_.SetStatusText(52);
                pages = true;
            } else {
                view_.SetStatusText(53);
                view_.SelectPageTab(0);
                view_.EnablePageTabs(false);
            }
            lighting = true;
            break;
        case kModeBluetooth:
            view_.SetStatusText(54);
            view_.SelectPageTab(0);
            view_.EnablePageTabs(false);
            view_.OpenBluetoothBattery();
            pages = true;
            break;
        default:
            break;
    }
    {
        std::lock_guard guard(lock_);
        connected_ = true;
        pagesEnabled_ = pages;
        lightingShown_ = lighting;
    }
    view_.SetPagesEnabled(pages);
    view_.ShowLightingTab(lighting);
    view_.Relayout();
}

void DeviceConnector::EnumerateDevice() {
    HidBackend* backend = hid_.Backend();
    if (backend == nullptr) {
        return;
    }
    for (const HidInterfaceInfo& info : backend->Enumerate()) {
        DeviceFilter filter;
        if (!hid_.FindFilter(info.vendor_id, info.product_id, filter)) {
            continue;
        }
        HidInterfaceEntry entry;
        entry.vendor_id = info.vendor_id;
        entry.product_id = info.product_id;
        entry.path = info.path;
        entry.identity = BuildIdentityText(info);
        entry.release_number = info.release_number;
        entry.device_type = filter.device_type;
        if (IsBluetoothKeyboardIdentity(entry.identity)) {
            entry.connection_mode = kModeBluetooth;
            hid_.AddEntry(std::move(entry));
            continue;
        }
        if (!IsCommandInterface(info)) {
            continue;
        }
        std::unique_ptr<HidDevice> device = backend->Open(info.path);
        if (!device) {
            continue;
        }
        entry.connection_mode = filter.connection_mode;
        if (IsReceiverMode(filter.connection_mode)) {
            uint16_t vid = 0;
            uint16_t pid = 0;
            hid_.QueryPairedIds(*device, vid, pid);
            DeviceFilter paired;
            if (!hid_.FindFilter(vid, pid, paired)) {
                continue;
            }
        }
        entry.product = device->Product().substr(0, 512);
        entry.manufacturer = device->Manufacturer().substr(0, 512);
        entry.handle = std::make_shared<HidHandle>(std::move(device));
        hid_.AddEntry(std::move(entry));
    }
}

void DeviceConnector::UpdateUSBDevice(const DeviceChange& change) {
    std::vector<DeviceModeEntry> modes;
    bool connected;
    {
        std::lock_guard guard(lock_);
        modes = modeList_;
        connected = connected_;
    }
    if (change.kind == DeviceChange::Arrival) {
        HidInterfaceInfo info;
        HidBackend* backend = hid_.Backend();
        bool described = backend != nullptr && backend->Describe(change.path, info);
        std::string identity = described ? BuildIdentityText(info) : change.identity;
        for (const DeviceModeEntry& m : modes) {
            std::string part = Quorl::WideToUtf8(m.hid_interface);
            if (IsBluetoothKeyboardIdentity(identity) && ContainsText(identity, part)) {
                tasks_.Push(kTaskArrival);
                return;
            }
            // Only this model's command interfaces count, and only in a mode not yet held.
            if (described && IsCommandInterface(info) && ContainsText(identity, part) &&
                hid_.FindInterface(m.vid, m.pid, m.mode) < 0) {
                tasks_.Push(kTaskArrival);
                return;
            }
        }
        return;
    }
    if (change.kind != DeviceChange::Removal || !connected) {
        return;
    }
    const std::string& identity = change.identity;
    bool overGatt = ContainsText(identity, kHidOverGattService);
    for (const DeviceModeEntry& m : modes) {
        std::string part = Quorl::WideToUtf8(m.hid_interface);
        if (overGatt
                ? (ContainsText(identity, part) && ContainsText(identity, "KBD"))
                : (ContainsText(identity, part) && hid_.FindInterface(m.vid, m.pid, m.mode) >= 0)) {
            tasks_.Push(kTaskRemoval);
            return;
        }
    }
}
