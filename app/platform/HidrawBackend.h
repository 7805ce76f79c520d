#pragma once

#include "app/device/HidBackend.h"

// Real HID interfaces through hidapi's hidraw back end.
class HidrawBackend : public HidBackend {
public:
    HidrawBackend();  // initialises hidapi
    ~HidrawBackend() override;
    HidrawBackend(const HidrawBackend&) = delete;
    HidrawBackend& operator=(const HidrawBackend&) = delete;

    std::vector<HidInterfaceInfo> Enumerate() override;
    std::unique_ptr<HidDevice> Open(const std::string& path) override;
    bool Describe(const std::string& path, HidInterfaceInfo& info) override;
};
