#pragma once

// Scripted stand-ins for the HID back end and the clock, for the device-link tests.

#include <deque>
#include <initializer_list>
#include <map>
#include <optional>
#include <vector>

#include "app/device/HidBackend.h"
#include "app/device/HidDeviceManager.h"
#include "app/device/Sleeper.h"

class FakeSleeper : public Sleeper {
public:
    void SleepMs(int ms) override {
        sleeps.push_back(ms);
        now += ms;
    }
    int64_t NowMs() override { return now; }
    std::vector<int> sleeps;
    int64_t now = 0;
};

using Bytes = std::vector<uint8_t>;

// A report of `length` zero bytes with the given (offset, value) pairs set.
inline Bytes Answer(size_t length, std::initializer_list<std::pair<size_t, uint8_t>> bytes) {
    Bytes b(length, 0);
    for (auto [at, value] : bytes) {
        b[at] = value;
    }
    return b;
}

// A device whose answers are scripted: each get takes the next scripted answer (nullopt: the
// get fails), each input read the next scripted report (empty: time-out).
struct FakeDeviceScript {
    int sendResult = 0;           // 0: the length
    std::deque<int> sendResults;  // taken first, one per send
    std::deque<std::optional<Bytes>> gets;
    std::deque<Bytes> inputs;
    std::deque<Bytes> waiting;  // already waiting before a send: what a read without wait finds
    std::vector<Bytes> sent;
    int getCalls = 0;
    std::vector<int> readTimeouts;
    std::wstring product = L"Veyra";
};

class FakeHidDevice : public HidDevice {
public:
    explicit FakeHidDevice(FakeDeviceScript& s) : s_(s) {}
    int SendFeatureReport(const uint8_t* data, size_t length) override {
        s_.sent.emplace_back(data, data + length);
        if (!s_.sendResults.empty()) {
            int r = s_.sendResults.front();
            s_.sendResults.pop_front();
            return r;
        }
        return s_.sendResult != 0 ? s_.sendResult : static_cast<int>(length);
    }
    int GetFeatureReport(uint8_t* data, size_t length) override {
        ++s_.getCalls;
        if (s_.gets.empty()) {
            return -1;
        }
        std::optional<Bytes> answer = s_.gets.front();
        s_.gets.pop_front();
        if (!answer) {
            data[2] = 0xEE;  // a failed get may leave anything behind
            return -1;
        }
        size_t n = std::min(length, answer->size());
        std::copy(answer->begin(), answer->begin() + n, data);
        return static_cast<int>(n);
    }
    int ReadInputReport(uint8_t* data, size_t length, int timeoutMs) override {
        if (timeoutMs == 0) {
            if (s_.waiting.empty()) {
                return 0;
            }
            Bytes report = s_.waiting.front();
            s_.waiting.pop_front();
            std::copy(report.begin(), report.begin() + std::min(length, report.size()), data);
            return static_cast<int>(std::min(length, report.size()));
        }
        s_.readTimeouts.push_back(timeoutMs);
        if (s_.inputs.empty()) {
            return 0;
        }
        Bytes report = s_.inputs.front();
        s_.inputs.pop_front();
        if (report.empty()) {
            return 0;
        }
        size_t n = std::min(length, report.size());
        std::copy(report.begin(), report.begin() + n, data);
        return static_cast<int>(n);
    }
    std::wstring Manufacturer() override { return L"Talvane"; }
    std::wstring Product() override { return s_.product; }

private:
    FakeDeviceScript& s_;
};

class FakeHidBackend : public HidBackend {
public:
    std::vector<HidInterfaceInfo> Enumerate() override { return interfaces; }
    std::unique_ptr<HidDevice> Open(const std::string& path) override {
        if (unopenable.count(path) != 0) {
            return nullptr;
        }
        return std::make_unique<FakeHidDevice>(scripts[path]);
    }
    bool Describe(const std::string& path, HidInterfaceInfo& info) override {
        for (const HidInterfaceInfo& i : interfaces) {
            if (i.path == path) {
                info = i;
                return true;
            }
        }
        return false;
    }
    std::vector<HidInterfaceInfo> interfaces;
    std::map<std::string, FakeDeviceScript> scripts;
    std::map<std::string, bool> unopenable;
};

// An entry with a scripted handle, for the manager tests.
inline HidInterfaceEntry FakeEntry(FakeDeviceScript* script, int type, int mode) {
    HidInterfaceEntry e;
    e.device_type = type;
    e.connection_mode = mode;
    e.vendor_id = 0x3434;
    if (script != nullptr) {
        e.handle = std::make_shared<HidHandle>(std::make_unique<FakeHidDevice>(*script));
    }
    return e;
}
