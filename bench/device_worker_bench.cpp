// From a stored DPI change and its queued task 9 to the 0x51 0x40 report reaching the virtual
// mouse, with the worker running as in the program. The protocol's own floor is the 66 ms pause
// before every feature report; the worker's pass pause adds up to 30 ms.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <time.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include "app/device/DeviceConnector.h"
#include "app/device/DeviceSession.h"
#include "app/device/DeviceTaskQueue.h"
#include "app/device/HidDeviceManager.h"
#include "app/device/RecordingSessionView_test.h"
#include "app/device/VirtualHidBackend.h"
#include "app/store/DeviceDataDB.h"
#include "quorl/core/Utf8.h"

namespace {

using Clock = std::chrono::steady_clock;

bool WaitFor(const std::function<bool()>& condition) {
    auto deadline = Clock::now() + std::chrono::seconds(20);
    while (Clock::now() < deadline) {
        if (condition()) {
            return true;
        }
        std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    return false;
}

size_t FileSize(const std::string& path) {
    std::error_code ec;
    auto size = std::filesystem::file_size(path, ec);
    return ec ? 0 : static_cast<size_t>(size);
}

std::string ReadFrom(const std::string& path, size_t from) {
    std::ifstream in(path, std::ios::binary);
    in.seekg(static_cast<std::streamoff>(from));
    return std::string(std::istreambuf_iterator<char>(in), {});
}

struct Rig {
    Rig()
        : backend(Dir()),
          hid(&backend, &clock),
          connector(hid, view, tasks),
          session(hid, db, connector, tasks, view, clock, folder + "/macro_flash.dat") {
        std::filesystem::create_directories(folder + "/db");
        db.OpenDeviceDatabase(Quorl::Utf8ToWide(folder + "/"), L"Veyra");
        DeviceModeEntry cable;
        cable.device_type = 101;
        cable.vid = 0x3434;
        cable.pid = 0xD032;
        cable.hid_interface = L"VID_3434&PID_D032&MI_01";
        connector.SetModeEntries({cable});
        connector.SetCurrentType(101);
        int fds[2] = {-1, -1};
        if (pipe(fds) != 0) {
            return;
        }
        pid = fork();
        if (pid == 0) {
            // It runs until its input closes.
            dup2(fds[0], STDIN_FILENO);
            close(fds[1]);
            int null = open("/dev/null", O_RDWR);
            dup2(null, STDOUT_FILENO);
            std::string program = std::string(TALVANE_BENCH_PROGRAM_DIR) + "/talvane-virtual-mouse";
            std::string dir = Dir();
            execl(program.c_str(), program.c_str(), "--dir", dir.c_str(), "--mode", "cable",
                  "--log", (folder + "/mouse.log").c_str(), static_cast<char*>(nullptr));
            _exit(127);
        }
        close(fds[0]);
        input = fds[1];
        ready = WaitFor([&] { return backend.Enumerate().size() == 2; });
        connector.ConnectDevices();
        tasks.Push(kTaskInitialSync);
        session.Start();
        ready = ready && WaitFor([&] { return session.Synced(); });
    }
    ~Rig() {
        session.Stop();
        if (pid > 0) {
            close(input);
            waitpid(pid, nullptr, 0);
        }
        std::filesystem::remove_all(folder);
    }
    static std::string MakeFolder() {
        char pattern[] = "/tmp/talvane-bench-XXXXXX";
        return mkdtemp(pattern);
    }
    std::string Dir() const { return folder + "/hid"; }

    std::string folder = MakeFolder();
    VirtualHidBackend backend;
    SteadySleeper clock;
    HidDeviceManager hid;
    RecordingSessionView view;
    DeviceTaskQueue tasks;
    DeviceConnector connector;
    DeviceDataDB db;
    DeviceSession session;
    pid_t pid = -1;
    int input = -1;
    bool ready = false;
};

void BM_DpiChangeToMouse(benchmark::State& state) {
    Rig rig;
    if (!rig.ready) {
        state.SkipWithError("the virtual mouse did not come up");
        return;
    }
    const std::string log = rig.folder + "/mouse.log";
    int value = 400;
    for (auto _ : state) {
        value = value >= 11000 ? 400 : value + 50;
        size_t mark = FileSize(log);
        char expected[32];
        std::snprintf(expected, sizeof expected, " %02x %02x", value & 0xFF, value >> 8);
        auto start = Clock::now();
        rig.db.SetConfigValue(rig.session.CurrentProfile(), L"dpi_group0_value",
                              std::to_wstring(value));
        rig.tasks.Push(kTaskSendDpi);
        bool seen = WaitFor([&] {
            std::string text = ReadFrom(log, mark);
            size_t at = text.find("set-feature 51 40");
            return at != std::string::npos &&
                   text.compare(at + 26, 6, expected) == 0;  // level triplet, then level 0
        });
        auto end = Clock::now();
        if (!seen) {
            state.SkipWithError("the report did not arrive");
            return;
        }
        state.SetIterationTime(std::chrono::duration<double>(end - start).count());
    }
}
BENCHMARK(BM_DpiChangeToMouse)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(10)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

// The CPU the idle worker takes over 10 seconds with a connected mouse: a pass every 30 ms and a
// poll with a 100 ms read every 200 ms.
void BM_IdleWorkerCpu(benchmark::State& state) {
    Rig rig;
    if (!rig.ready) {
        state.SkipWithError("the virtual mouse did not come up");
        return;
    }
    for (auto _ : state) {
        timespec before{}, after{};
        clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &before);
        std::this_thread::sleep_for(std::chrono::seconds(10));
        clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &after);
        state.counters["cpu_ms_per_10s"] =
            (after.tv_sec - before.tv_sec) * 1e3 + (after.tv_nsec - before.tv_nsec) / 1e6;
    }
}
BENCHMARK(BM_IdleWorkerCpu)->Iterations(1)->Unit(benchmark::kSecond);

// A full InitialSync on the cable: device info, settings, the sixteen buttons, firmware.
void BM_InitialSync(benchmark::State& state) {
    Rig rig;
    if (!rig.ready) {
        state.SkipWithError("the virtual mouse did not come up");
        return;
    }
    rig.session.Stop();
    for (auto _ : state) {
        // A session of its own, so the button functions are read again.
        DeviceSession fresh(rig.hid, rig.db, rig.connector, rig.tasks, rig.view, rig.clock,
                            rig.folder + "/macro_flash.dat");
        if (!fresh.InitialSync()) {
            state.SkipWithError("InitialSync failed");
            return;
        }
    }
}
BENCHMARK(BM_InitialSync)->Iterations(3)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
