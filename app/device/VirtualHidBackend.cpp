#include "app/device/VirtualHidBackend.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/inotify.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <deque>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/device/HidIdentity.h"
#include "app/device/VirtualHidProtocol.h"

namespace fs = std::filesystem;

namespace {

int64_t NowMs() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

std::optional<VirtualHid::Descriptor> ReadDescriptor(const std::string& socketPath) {
    std::ifstream in(VirtualHid::DescriptorPathFor(socketPath));
    if (!in) {
        return std::nullopt;
    }
    std::ostringstream text;
    text << in.rdbuf();
    return VirtualHid::ParseDescriptor(text.str(), socketPath);
}

// One connection to an interface of the virtual mouse. Input reports that arrive while a
// request waits for its reply are kept for the next input read, as the kernel keeps them.
class VirtualHidDevice : public HidDevice {
public:
    static constexpr size_t kMaxQueuedInputs = 64;

    VirtualHidDevice(int fd, VirtualHid::Descriptor d) : fd_(fd), descriptor_(std::move(d)) {}
    ~VirtualHidDevice() override { close(fd_); }

    int SendFeatureReport(const uint8_t* data, size_t length) override {
        auto reply = Request(VirtualHid::kSetFeature, data, length);
        return reply && (*reply)[1] == 1 ? static_cast<int>(length) : -1;
    }

    int GetFeatureReport(uint8_t* data, size_t length) override {
        auto reply = Request(VirtualHid::kGetFeature, data, length);
        if (!reply || (*reply)[1] != 1) {
            return -1;
        }
        size_t n = std::min(length, reply->size() - 2);
        std::copy(reply->begin() + 2, reply->begin() + 2 + n, data);
        return static_cast<int>(n);
    }

    int ReadInputReport(uint8_t* data, size_t length, int timeoutMs) override {
        int64_t deadline = NowMs() + timeoutMs;
        while (inputs_.empty()) {
            int wait = static_cast<int>(std::max<int64_t>(0, deadline - NowMs()));
            std::vector<uint8_t> message;
            int got = Receive(message, wait);
            if (got < 0) {
                return -1;
            }
            if (got == 0) {
                return 0;
            }
            Keep(message);
            if (NowMs() >= deadline && inputs_.empty()) {
                return 0;
            }
        }
        std::vector<uint8_t> report = std::move(inputs_.front());
        inputs_.pop_front();
        size_t n = std::min(length, report.size());
        std::copy(report.begin(), report.begin() + n, data);
        return static_cast<int>(n);
    }

    std::wstring Manufacturer() override { return descriptor_.manufacturer; }
    std::wstring Product() override { return descriptor_.product; }

private:
    // 1 message received, 0 time-out, -1 the device is gone.
    int Receive(std::vector<uint8_t>& message, int timeoutMs) {
        if (closed_) {
            return -1;
        }
        pollfd p{fd_, POLLIN, 0};
        int ready = poll(&p, 1, timeoutMs);
        if (ready <= 0) {
            return ready == 0 ? 0 : -1;
        }
        message.resize(VirtualHid::kMaxMessage);
        ssize_t n = recv(fd_, message.data(), message.size(), 0);
        if (n <= 0) {
            closed_ = true;
            return -1;
        }
        message.resize(static_cast<size_t>(n));
        return 1;
    }

    void Keep(const std::vector<uint8_t>& message) {
        if (message.size() > 1 && message[0] == VirtualHid::kInput) {
            if (inputs_.size() == kMaxQueuedInputs) {
                inputs_.pop_front();
            }
            inputs_.emplace_back(message.begin() + 1, message.end());
        }
    }

    std::optional<std::vector<uint8_t>> Request(uint8_t kind, const uint8_t* data, size_t length) {
        if (closed_ || length + 1 > VirtualHid::kMaxMessage) {
            return std::nullopt;
        }
        std::vector<uint8_t> message(length + 1);
        message[0] = kind;
        std::copy(data, data + length, message.begin() + 1);
        if (send(fd_, message.data(), message.size(), MSG_NOSIGNAL) < 0) {
            closed_ = true;
            return std::nullopt;
        }
        int64_t deadline = NowMs() + VirtualHidBackend::kReplyTimeoutMs;
        while (true) {
            int wait = static_cast<int>(std::max<int64_t>(0, deadline - NowMs()));
            std::vector<uint8_t> reply;
            if (Receive(reply, wait) <= 0) {
                return std::nullopt;
            }
            if (reply.size() >= 2 && reply[0] == VirtualHid::kReply) {
                return reply;
            }
            Keep(reply);
        }
    }

    int fd_;
    VirtualHid::Descriptor descriptor_;
    std::deque<std::vector<uint8_t>> inputs_;
    bool closed_ = false;
};

}  // namespace

VirtualHidBackend::VirtualHidBackend(std::string folder) : folder_(std::move(folder)) {}

std::string VirtualHidBackend::FolderFromEnvironment() {
    const char* dir = std::getenv("TALVANE_VIRTUAL_HID_DIR");
    return dir != nullptr ? dir : "";
}

std::vector<HidInterfaceInfo> VirtualHidBackend::Enumerate() {
    std::vector<std::string> sockets;
    std::error_code error;
    for (const auto& item : fs::directory_iterator(folder_, error)) {
        std::string path = item.path().string();
        std::string name = item.path().filename().string();
        if (!name.empty() && name[0] != '.' &&
            item.path().extension() == VirtualHid::kDescriptorSuffix) {
            sockets.push_back(VirtualHid::SocketPathFor(path));
        }
    }
    std::sort(sockets.begin(), sockets.end());
    std::vector<HidInterfaceInfo> found;
    for (const std::string& socketPath : sockets) {
        if (auto d = ReadDescriptor(socketPath)) {
            found.push_back(d->info);
        }
    }
    return found;
}

bool VirtualHidBackend::Describe(const std::string& path, HidInterfaceInfo& info) {
    auto d = ReadDescriptor(path);
    if (!d) {
        return false;
    }
    info = d->info;
    return true;
}

std::unique_ptr<HidDevice> VirtualHidBackend::Open(const std::string& path) {
    auto d = ReadDescriptor(path);
    sockaddr_un address{};
    if (!d || path.size() >= sizeof address.sun_path) {
        return nullptr;
    }
    int fd = socket(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        return nullptr;
    }
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    if (connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        close(fd);
        return nullptr;
    }
    return std::make_unique<VirtualHidDevice>(fd, std::move(*d));
}

VirtualHidWatcher::VirtualHidWatcher(std::string folder) : folder_(std::move(folder)) {}

VirtualHidWatcher::~VirtualHidWatcher() {
    Stop();
}

bool VirtualHidWatcher::Start(DeviceChangeHandler handler) {
    if (thread_.joinable()) {
        return false;
    }
    std::error_code error;
    fs::create_directories(folder_, error);
    int fd = inotify_init1(IN_CLOEXEC | IN_NONBLOCK);
    if (fd < 0) {
        return false;
    }
    if (inotify_add_watch(fd, folder_.c_str(),
                          IN_MOVED_TO | IN_CLOSE_WRITE | IN_DELETE | IN_MOVED_FROM) < 0 ||
        pipe2(stopPipe_, O_CLOEXEC) != 0) {
        close(fd);
        return false;
    }
    // What is there already is known, so that its removal can be told.
    VirtualHidBackend backend(folder_);
    for (const HidInterfaceInfo& info : backend.Enumerate()) {
        identities_[info.path] = BuildIdentityText(info);
    }
    thread_ = std::thread([this, fd, handler = std::move(handler)] { Run(fd, handler); });
    return true;
}

void VirtualHidWatcher::Stop() {
    if (!thread_.joinable()) {
        return;
    }
    char stop = 1;
    (void)!write(stopPipe_[1], &stop, 1);
    thread_.join();
    close(stopPipe_[0]);
    close(stopPipe_[1]);
    stopPipe_[0] = stopPipe_[1] = -1;
}

void VirtualHidWatcher::Run(int fd, DeviceChangeHandler handler) {
    VirtualHidBackend backend(folder_);
    alignas(inotify_event) char buffer[4096];
    while (true) {
        pollfd p[2] = {{fd, POLLIN, 0}, {stopPipe_[0], POLLIN, 0}};
        if (poll(p, 2, -1) < 0 || (p[1].revents & POLLIN)) {
            break;
        }
        ssize_t n = read(fd, buffer, sizeof buffer);
        for (ssize_t at = 0; n > 0 && at < n;) {
            auto* event = reinterpret_cast<inotify_event*>(buffer + at);
            at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
            std::string name = event->len > 0 ? event->name : "";
            if (name.empty() || name[0] == '.' ||
                fs::path(name).extension() != VirtualHid::kDescriptorSuffix) {
                continue;
            }
            std::string socketPath = VirtualHid::SocketPathFor(folder_ + "/" + name);
            if (event->mask & (IN_MOVED_TO | IN_CLOSE_WRITE)) {
                HidInterfaceInfo info;
                if (backend.Describe(socketPath, info)) {
                    std::string identity = BuildIdentityText(info);
                    identities_[socketPath] = identity;
                    handler({DeviceChange::Arrival, socketPath, identity});
                }
            } else if (event->mask & (IN_DELETE | IN_MOVED_FROM)) {
                auto known = identities_.find(socketPath);
                std::string identity = known != identities_.end() ? known->second : "";
                if (known != identities_.end()) {
                    identities_.erase(known);
                }
                handler({DeviceChange::Removal, socketPath, identity});
            }
        }
    }
    close(fd);
}
