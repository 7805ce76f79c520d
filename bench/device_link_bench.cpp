// One settings command from the call until the virtual mouse has taken it (its reply to the
// set-feature is what the call waits for), and one full enumeration pass, against a running
// talvane-virtual-mouse with a cable and a receiver.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>

#include "app/console/HeadlessSessionView.h"
#include "app/device/DeviceConnector.h"
#include "app/device/DeviceReports.h"
#include "app/device/DeviceTaskQueue.h"
#include "app/device/HidDeviceManager.h"
#include "app/device/VirtualHidBackend.h"

namespace {

class NoPause : public SteadySleeper {
public:
    void SleepMs(int) override {}
};

struct Rig {
    Rig() {
        char pattern[] = "/tmp/talvane-bench-XXXXXX";
        folder = mkdtemp(pattern);
        int fds[2];
        if (pipe(fds) != 0) {
            return;
        }
        pid = fork();
        if (pid == 0) {
            dup2(fds[0], STDIN_FILENO);
            close(fds[1]);  // or its input would never end
            int null = open("/dev/null", O_WRONLY);
            dup2(null, STDOUT_FILENO);
            std::string program = std::string(TALVANE_PROGRAM_DIR) + "/talvane-virtual-mouse";
            execl(program.c_str(), program.c_str(), "--dir", folder.c_str(), "--mode",
                  "cable+receiver", "--log", "/dev/null", nullptr);
            _exit(127);
        }
        close(fds[0]);
        input = fds[1];
        VirtualHidBackend backend(folder);
        for (int i = 0; i < 2000 && backend.Enumerate().size() < 4; ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
    }
    ~Rig() {
        close(input);
        int status = 0;
        waitpid(pid, &status, 0);
        std::filesystem::remove_all(folder);
    }
    std::string folder;
    pid_t pid = -1;
    int input = -1;
};

std::vector<DeviceModeEntry> Modes() {
    DeviceModeEntry cable{L"Talvane Veyra", 101,    L"Veyra", 0,
                          0x3434,           0xD032, L"",      L"VID_3434&PID_D032&MI_01"};
    DeviceModeEntry receiver{L"Talvane Veyra", 101,    L"Veyra", 1,
                             0x3434,           0xD033, L"",      L"VID_3434&PID_D033&MI_01"};
    return {cable, receiver};
}

template <class Clock>
void SettingsCommand(benchmark::State& state) {
    Rig rig;
    VirtualHidBackend backend(rig.folder);
    Clock clock;
    HidDeviceManager hid(&backend, &clock);
    HeadlessSessionView view;
    DeviceTaskQueue tasks;
    DeviceConnector connector(hid, view, tasks);
    connector.SetModeEntries(Modes());
    connector.SetCurrentType(101);
    connector.ConnectDevices();
    DeviceReports::Report report = DeviceReports::BuildLightingMode(2);
    for (auto _ : state) {
        if (!hid.SendFeatureReport(report.data(), report.size(), false)) {
            state.SkipWithError("the virtual mouse did not take the report");
            break;
        }
    }
}

void FullEnumeration(benchmark::State& state) {
    Rig rig;
    VirtualHidBackend backend(rig.folder);
    NoPause clock;
    HidDeviceManager hid(&backend, &clock);
    HeadlessSessionView view;
    DeviceTaskQueue tasks;
    DeviceConnector connector(hid, view, tasks);
    connector.SetModeEntries(Modes());
    connector.SetCurrentType(101);
    for (auto _ : state) {
        connector.ConnectDevices();
    }
    std::vector<HidInterfaceEntry> entries;
    hid.ListInterfaces(entries);
    state.counters["entries"] = static_cast<double>(entries.size());
}

// With the 66 ms pause the device wants before every feature report.
BENCHMARK(SettingsCommand<SteadySleeper>)
    ->Name("SettingsCommand/with_pause")
    ->Unit(benchmark::kMillisecond)
    ->Iterations(20)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
// The transport alone.
BENCHMARK(SettingsCommand<NoPause>)
    ->Name("SettingsCommand/transport")
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
BENCHMARK(FullEnumeration)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

}  // namespace

BENCHMARK_MAIN();
