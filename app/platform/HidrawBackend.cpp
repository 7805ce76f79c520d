#include "app/platform/HidrawBackend.h"

#include <hidapi.h>

namespace {

class HidrawDevice : public HidDevice {
public:
    explicit HidrawDevice(hid_device* device) : device_(device) {}
    ~HidrawDevice() override { hid_close(device_); }

    int SendFeatureReport(const uint8_t* data, size_t length) override {
        return hid_send_feature_report(device_, data, length);
    }
    int GetFeatureReport(uint8_t* data, size_t length) override {
        return hid_get_feature_report(device_, data, length);
    }
    int ReadInputReport(uint8_t* data, size_t length, int timeoutMs) override {
        // The kernel keeps a report that arrives after the time-out for the next read.
        return hid_read_timeout(device_, data, length, timeoutMs);
    }
    std::wstring Manufacturer() override {
        wchar_t text[512] = {};
        return hid_get_manufacturer_string(device_, text, 512) == 0 ? std::wstring(text) : L"";
    }
    std::wstring Product() override {
        wchar_t text[512] = {};
        return hid_get_product_string(device_, text, 512) == 0 ? std::wstring(text) : L"";
    }

private:
    hid_device* device_;
};

HidInterfaceInfo InfoOf(const hid_device_info* d) {
    HidInterfaceInfo info;
    info.path = d->path != nullptr ? d->path : "";
    info.vendor_id = d->vendor_id;
    info.product_id = d->product_id;
    info.release_number = d->release_number;
    info.usage_page = d->usage_page;
    info.usage = d->usage;
    info.interface_number = d->interface_number;
    info.bus = d->bus_type == HID_API_BUS_BLUETOOTH ? HidBus::Bluetooth : HidBus::Usb;
    return info;
}

}  // namespace

HidrawBackend::HidrawBackend() {
    hid_init();
}

HidrawBackend::~HidrawBackend() {
    hid_exit();
}

std::vector<HidInterfaceInfo> HidrawBackend::Enumerate() {
    std::vector<HidInterfaceInfo> found;
    hid_device_info* list = hid_enumerate(0, 0);
    for (const hid_device_info* d = list; d != nullptr; d = d->next) {
        found.push_back(InfoOf(d));
    }
    hid_free_enumeration(list);
    return found;
}

std::unique_ptr<HidDevice> HidrawBackend::Open(const std::string& path) {
    hid_device* device = hid_open_path(path.c_str());
    if (device == nullptr) {
        return nullptr;
    }
    return std::make_unique<HidrawDevice>(device);
}

bool HidrawBackend::Describe(const std::string& path, HidInterfaceInfo& info) {
    for (const HidInterfaceInfo& i : Enumerate()) {
        if (i.path == path) {
            info = i;
            return true;
        }
    }
    return false;
}
