// talvane-virtual-mouse: a stand-in for the mouse and its receiver, reached by Talvane's
// virtual HID back end through a folder of sockets.

#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "app/device/VirtualHidProtocol.h"
#include "app/virtualmouse/VirtualBluez.h"
#include "app/virtualmouse/VirtualMouse.h"

namespace {

const char* const kHelp =
    "Usage: talvane-virtual-mouse [--dir DIR] [--mode MODE] [--model TYPE] [--state FILE]\n"
    "                             [--log FILE] [--bluez-bus ADDRESS]\n"
    "\n"
    "Plays a Talvane mouse and its 2.4 GHz receiver for the program's virtual HID back end.\n"
    "Each HID interface appears in DIR as NAME.sock (the device) and NAME.hid (its identity);\n"
    "an interface that appears or vanishes is a device plugged in or unplugged.\n"
    "\n"
    "  --dir DIR      folder of the interfaces (default: $TALVANE_VIRTUAL_HID_DIR)\n"
    "  --mode MODE    cable, receiver, bluetooth or cable+receiver (default: cable)\n"
    "  --model TYPE   101 Talvane Veyra, 102 Talvane Veyra Lite (default: 101)\n"
    "  --state FILE   the onboard memory, kept across runs (default: DIR/virtual-mouse.state)\n"
    "  --log FILE     one line per report (default: DIR/virtual-mouse.log):\n"
    "                 ms since start, '>' to the device or '<' from it, interface,\n"
    "                 set-feature, get-feature or input, and the bytes in hexadecimal\n"
    "  --bluez-bus ADDRESS\n"
    "                 play the desktop's Bluetooth service (org.bluez) on this D-Bus, so\n"
    "                 that its battery is seen over Bluetooth LE (default: none)\n"
    "\n"
    "Commands on standard input, one a line (end of input quits too):\n"
    "  plug [cable|receiver|bluetooth]    plug in the interfaces (default: those of the mode)\n"
    "  unplug [cable|receiver|bluetooth]  unplug them\n"
    "  mode MODE                          change the connection\n"
    "  dpi-button                         press the DPI button (next level)\n"
    "  sleep, wake                        the mouse behind the receiver sleeps or wakes\n"
    "  battery LEVEL [charging]           battery level 0-100, charging or not\n"
    "  factory-reset                      reset the onboard memory\n"
    "  quit\n";

struct Presented {
    VirtualInterface* iface = nullptr;
    int listenFd = -1;
    std::vector<int> clients;
};

class Server {
public:
    Server(std::string dir, int model, std::string statePath, std::string logPath,
           VirtualBluez* bluez)
        : dir_(std::move(dir)),
          statePath_(std::move(statePath)),
          log_(logPath, std::ios::app),
          start_(std::chrono::steady_clock::now()),
          mouse_(
              model, memory_, [this](VirtualInterface& v, const Bytes& b) { Emit(v, b); },
              [this] { memory_.Save(statePath_); }),
          bluez_(bluez) {
        memory_.Load(statePath_);
        for (Link link : {Link::Cable, Link::Receiver, Link::Bluetooth}) {
            for (VirtualInterface& v : VirtualMouse::InterfacesFor(link, model)) {
                interfaces_.push_back(std::make_unique<VirtualInterface>(std::move(v)));
            }
        }
        if (bluez_ != nullptr) {
            // Paired, as BlueZ keeps a mouse it has bonded with, whether connected or not.
            const HidInterfaceInfo ids =
                VirtualMouse::InterfacesFor(Link::Bluetooth, model).front().descriptor.info;
            char modalias[32];
            std::snprintf(modalias, sizeof modalias, "usb:v%04Xp%04Xd%04X", ids.vendor_id,
                          ids.product_id, ids.release_number);
            bluezPath_ =
                std::string("/org/bluez/hci0/dev_C0_FF_EE_34_34_") + (model == 102 ? "02" : "01");
            bluez_->AddDevice(bluezPath_, modalias);
        }
    }

    ~Server() {
        for (Link link : {Link::Cable, Link::Receiver, Link::Bluetooth}) {
            Unplug(link);
        }
    }

    static bool ParseMode(const std::string& text, std::vector<Link>& links) {
        if (text == "cable") {
            links = {Link::Cable};
        } else if (text == "receiver") {
            links = {Link::Receiver};
        } else if (text == "bluetooth") {
            links = {Link::Bluetooth};
        } else if (text == "cable+receiver") {
            links = {Link::Cable, Link::Receiver};
        } else {
            return false;
        }
        return true;
    }

    void SetMode(const std::vector<Link>& links) {
        for (Link link : {Link::Cable, Link::Receiver, Link::Bluetooth}) {
            Unplug(link);
        }
        mode_ = links;
        for (Link link : links) {
            Plug(link);
        }
    }

    void Plug(Link link) {
        // The battery is there before the interface that makes the program look for it.
        if (link == Link::Bluetooth && bluez_ != nullptr) {
            bluez_->SetBattery(bluezPath_, memory_.battery);
        }
        for (auto& v : interfaces_) {
            if (v->link == link && !IsPresent(v.get())) {
                Present(v.get());
            }
        }
        UpdatePresent();
    }

    void Unplug(Link link) {
        for (size_t i = presented_.size(); i-- > 0;) {
            if (presented_[i].iface->link == link) {
                Withdraw(presented_[i]);
                presented_.erase(presented_.begin() + static_cast<long>(i));
            }
        }
        if (link == Link::Bluetooth && bluez_ != nullptr) {
            bluez_->RemoveBattery(bluezPath_);
        }
        UpdatePresent();
    }

    int Run() {
        std::string pendingInput;
        while (true) {
            std::vector<pollfd> fds{{STDIN_FILENO, POLLIN, 0}};
            for (const Presented& p : presented_) {
                fds.push_back({p.listenFd, POLLIN, 0});
                for (int c : p.clients) {
                    fds.push_back({c, POLLIN, 0});
                }
            }
            if (poll(fds.data(), fds.size(), -1) < 0) {
                if (errno == EINTR) {
                    continue;
                }
                return 1;
            }
            // Connections first: a device opened before a command gets its reports.
            for (size_t at = 1; at < fds.size(); ++at) {
                if (fds[at].revents != 0) {
                    Serve(fds[at].fd);
                }
            }
            if (fds[0].revents & (POLLIN | POLLHUP)) {
                char buffer[512];
                ssize_t n = read(STDIN_FILENO, buffer, sizeof buffer);
                if (n <= 0) {
                    return 0;
                }
                pendingInput.append(buffer, static_cast<size_t>(n));
                size_t end;
                while ((end = pendingInput.find('\n')) != std::string::npos) {
                    std::string line = pendingInput.substr(0, end);
                    pendingInput.erase(0, end + 1);
                    if (!Command(line)) {
                        return 0;
                    }
                }
            }
        }
    }

private:
    bool BluetoothPlugged() const {
        for (const Presented& p : presented_) {
            if (p.iface->link == Link::Bluetooth) {
                return true;
            }
        }
        return false;
    }

    bool IsPresent(const VirtualInterface* v) const {
        for (const Presented& p : presented_) {
            if (p.iface == v) {
                return true;
            }
        }
        return false;
    }

    void UpdatePresent() {
        std::vector<VirtualInterface*> present;
        for (const Presented& p : presented_) {
            present.push_back(p.iface);
        }
        mouse_.SetPresent(present);
    }

    std::string Base(const VirtualInterface* v) const { return dir_ + "/" + v->name; }

    void Present(VirtualInterface* v) {
        std::string socketPath = Base(v) + VirtualHid::kSocketSuffix;
        sockaddr_un address{};
        if (socketPath.size() >= sizeof address.sun_path) {
            std::cerr << "talvane-virtual-mouse: folder path too long for a socket\n";
            return;
        }
        unlink(socketPath.c_str());
        int fd = socket(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0);
        address.sun_family = AF_UNIX;
        std::memcpy(address.sun_path, socketPath.c_str(), socketPath.size() + 1);
        if (fd < 0 || bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
            listen(fd, 8) != 0) {
            std::cerr << "talvane-virtual-mouse: cannot listen on " << socketPath << ": "
                      << std::strerror(errno) << "\n";
            if (fd >= 0) {
                close(fd);
            }
            return;
        }
        // The descriptor appears whole, and only once the socket listens.
        std::string temporary = dir_ + "/." + v->name + ".hid.tmp";
        {
            std::ofstream out(temporary, std::ios::trunc);
            out << VirtualHid::FormatDescriptor(v->descriptor);
        }
        std::rename(temporary.c_str(), (Base(v) + VirtualHid::kDescriptorSuffix).c_str());
        v->answers.clear();
        presented_.push_back({v, fd, {}});
    }

    void Withdraw(Presented& p) {
        unlink((Base(p.iface) + VirtualHid::kDescriptorSuffix).c_str());
        for (int c : p.clients) {
            close(c);
        }
        close(p.listenFd);
        unlink((Base(p.iface) + VirtualHid::kSocketSuffix).c_str());
    }

    void Serve(int fd) {
        for (Presented& p : presented_) {
            if (p.listenFd == fd) {
                int client = accept4(fd, nullptr, nullptr, SOCK_CLOEXEC);
                if (client >= 0) {
                    p.clients.push_back(client);
                }
                return;
            }
            for (size_t i = 0; i < p.clients.size(); ++i) {
                if (p.clients[i] != fd) {
                    continue;
                }
                uint8_t message[VirtualHid::kMaxMessage];
                ssize_t n = recv(fd, message, sizeof message, 0);
                if (n <= 0) {
                    close(fd);
                    p.clients.erase(p.clients.begin() + static_cast<long>(i));
                    return;
                }
                Handle(p, fd, Bytes(message, message + n));
                return;
            }
        }
    }

    void Handle(Presented& p, int fd, const Bytes& message) {
        Bytes report(message.begin() + 1, message.end());
        Bytes reply{VirtualHid::kReply, 0};
        if (message[0] == VirtualHid::kSetFeature) {
            Log('>', *p.iface, "set-feature", report);
            reply[1] = mouse_.SetFeature(*p.iface, report) ? 1 : 0;
        } else if (message[0] == VirtualHid::kGetFeature) {
            Log('>', *p.iface, "get-feature", report);
            Bytes answer = mouse_.GetFeature(*p.iface, report);
            if (!answer.empty()) {
                Log('<', *p.iface, "get-feature", answer);
                reply[1] = 1;
                reply.insert(reply.end(), answer.begin(), answer.end());
            }
        }
        send(fd, reply.data(), reply.size(), MSG_NOSIGNAL);
    }

    void Emit(VirtualInterface& v, const Bytes& report) {
        Bytes padded = report;
        padded.resize(21, 0);
        Log('<', v, "input", padded);
        Bytes message{VirtualHid::kInput};
        message.insert(message.end(), padded.begin(), padded.end());
        for (Presented& p : presented_) {
            if (p.iface == &v) {
                for (int c : p.clients) {
                    send(c, message.data(), message.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
                }
            }
        }
    }

    void Log(char direction, const VirtualInterface& v, const char* kind, const Bytes& bytes) {
        auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
                      std::chrono::steady_clock::now() - start_)
                      .count();
        log_ << ms << ' ' << direction << ' ' << v.name << ' ' << kind;
        char hex[4];
        for (uint8_t b : bytes) {
            std::snprintf(hex, sizeof hex, " %02x", b);
            log_ << hex;
        }
        log_ << '\n';
        log_.flush();
    }

    bool Command(const std::string& line) {
        std::istringstream in(line);
        std::string word, argument, extra;
        in >> word >> argument >> extra;
        std::vector<Link> links;
        if (word.empty()) {
            return true;
        }
        if (word == "quit") {
            return false;
        }
        if ((word == "plug" || word == "unplug") &&
            (argument.empty() || (ParseMode(argument, links) && links.size() == 1))) {
            for (Link link : argument.empty() ? mode_ : links) {
                word == "plug" ? Plug(link) : Unplug(link);
            }
        } else if (word == "mode" && ParseMode(argument, links)) {
            SetMode(links);
        } else if (word == "dpi-button") {
            mouse_.PressDpiButton();
        } else if (word == "sleep" || word == "wake") {
            mouse_.SetAwake(word == "wake");
        } else if (word == "battery" && !argument.empty() &&
                   argument.find_first_not_of("0123456789") == std::string::npos &&
                   (extra.empty() || extra == "charging")) {
            mouse_.SetBattery(std::atoi(argument.c_str()), extra == "charging" ? 1 : 0);
            if (bluez_ != nullptr && BluetoothPlugged()) {
                bluez_->SetBattery(bluezPath_, memory_.battery);
            }
        } else if (word == "factory-reset") {
            mouse_.FactoryReset();
        } else if (word == "help") {
            std::cout << kHelp;
        } else {
            std::cout << "error: unknown command: " << line << std::endl;
            return true;
        }
        std::cout << "ok " << word << std::endl;
        return true;
    }

    std::string dir_;
    std::string statePath_;
    std::ofstream log_;
    std::chrono::steady_clock::time_point start_;
    MouseMemory memory_;
    VirtualMouse mouse_;
    std::vector<std::unique_ptr<VirtualInterface>> interfaces_;
    std::vector<Presented> presented_;
    std::vector<Link> mode_;
    VirtualBluez* bluez_;
    std::string bluezPath_;
};

}  // namespace

int main(int argc, char** argv) {
    std::string dir;
    if (const char* env = std::getenv("TALVANE_VIRTUAL_HID_DIR")) {
        dir = env;
    }
    // Only by option: a program that looks for BlueZ on $TALVANE_BLUEZ_BUS and starts a
    // virtual mouse must not make it claim that bus.
    std::string bluezBus;
    std::string mode = "cable", state, log;
    int model = 101;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        auto value = [&](std::string& out) {
            if (i + 1 >= argc) {
                std::cerr << "talvane-virtual-mouse: " << arg << " needs a value\n";
                std::exit(2);
            }
            out = argv[++i];
        };
        std::string text;
        if (arg == "--help" || arg == "-h") {
            std::cout << kHelp;
            return 0;
        } else if (arg == "--dir") {
            value(dir);
        } else if (arg == "--mode") {
            value(mode);
        } else if (arg == "--model") {
            value(text);
            model = std::atoi(text.c_str());
        } else if (arg == "--state") {
            value(state);
        } else if (arg == "--log") {
            value(log);
        } else if (arg == "--bluez-bus") {
            value(bluezBus);
        } else {
            std::cerr << "talvane-virtual-mouse: unknown option " << arg << "\n" << kHelp;
            return 2;
        }
    }
    std::vector<Link> links;
    if (!Server::ParseMode(mode, links)) {
        std::cerr << "talvane-virtual-mouse: unknown mode " << mode << "\n";
        return 2;
    }
    if (model != 101 && model != 102) {
        std::cerr << "talvane-virtual-mouse: unknown model " << model << " (101 or 102)\n";
        return 2;
    }
    if (dir.empty()) {
        std::cerr
            << "talvane-virtual-mouse: no folder: give --dir or set TALVANE_VIRTUAL_HID_DIR\n";
        return 2;
    }
    std::error_code error;
    std::filesystem::create_directories(dir, error);
    if (error) {
        std::cerr << "talvane-virtual-mouse: cannot create " << dir << ": " << error.message()
                  << "\n";
        return 1;
    }
    signal(SIGPIPE, SIG_IGN);
    std::unique_ptr<VirtualBluez> bluez;
    if (!bluezBus.empty()) {
        bluez = std::make_unique<VirtualBluez>(bluezBus);
        if (!bluez->Ready()) {
            // The mouse itself still works; only its battery is not seen over Bluetooth LE.
            std::cerr << "talvane-virtual-mouse: cannot serve org.bluez on " << bluezBus << "\n";
            bluez.reset();
        }
    }
    Server server(dir, model, state.empty() ? dir + "/virtual-mouse.state" : state,
                  log.empty() ? dir + "/virtual-mouse.log" : log, bluez.get());
    server.SetMode(links);
    return server.Run();
}
