// The wall time of whole talvane-cli runs against a running virtual mouse, as a script sees
// them: start, store, connection, the exchanges and the end of the process. "info" asks the
// mouse five things; "dpi set" stores a value and waits until the worker has sent it.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "app/cli/CliRun_test.h"

namespace {

const std::string kProgramDir = TALVANE_BENCH_PROGRAM_DIR;

bool HasInterface(const std::string& dir) {
    std::error_code e;
    for (const auto& entry : std::filesystem::directory_iterator(dir, e)) {
        if (entry.path().extension() == ".hid") {
            return true;
        }
    }
    return false;
}

// A virtual mouse and a home of settings, data and runtime folders for the runs.
struct Rig {
    explicit Rig(const char* mode) {
        char pattern[] = "/tmp/talvane-cli-bench-XXXXXX";
        folder = mkdtemp(pattern);
        int fds[2];
        if (pipe(fds) != 0) {
            return;
        }
        mouse = fork();
        if (mouse == 0) {
            dup2(fds[0], STDIN_FILENO);
            close(fds[1]);
            dup2(open("/dev/null", O_WRONLY), STDOUT_FILENO);
            const std::string program = kProgramDir + "/talvane-virtual-mouse";
            const std::string dir = folder + "/hid";
            execl(program.c_str(), program.c_str(), "--dir", dir.c_str(), "--mode", mode,
                  static_cast<char*>(nullptr));
            _exit(127);
        }
        close(fds[0]);
        input = fds[1];
        for (int i = 0; i < 200 && !HasInterface(folder + "/hid"); ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        ready = HasInterface(folder + "/hid") && Run({"profile"}) == 0;
    }
    ~Rig() {
        if (mouse > 0) {
            close(input);
            waitpid(mouse, nullptr, 0);
        }
        std::filesystem::remove_all(folder);
    }
    int Run(const std::vector<std::string>& args) const {
        return CliRunner(folder, folder + "/hid", kProgramDir).Run(args).exitCode;
    }

    std::string folder;
    pid_t mouse = -1;
    int input = -1;
    bool ready = false;
};

const char* const kModes[] = {"cable", "receiver"};

void BM_CliJsonInfo(benchmark::State& state) {
    Rig rig(kModes[state.range(0)]);
    if (!rig.ready) {
        state.SkipWithError("the virtual mouse did not come up");
        return;
    }
    for (auto _ : state) {
        if (rig.Run({"--json", "info"}) != 0) {
            state.SkipWithError("talvane-cli --json info failed");
            return;
        }
    }
    state.SetLabel(kModes[state.range(0)]);
}
BENCHMARK(BM_CliJsonInfo)
    ->Arg(0)
    ->Arg(1)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(10);

void BM_CliDpiSet(benchmark::State& state) {
    Rig rig(kModes[state.range(0)]);
    if (!rig.ready) {
        state.SkipWithError("the virtual mouse did not come up");
        return;
    }
    int value = 400;
    for (auto _ : state) {
        value = value >= 11000 ? 400 : value + 50;
        if (rig.Run({"dpi", "set", "1", std::to_string(value)}) != 0) {
            state.SkipWithError("talvane-cli dpi set failed");
            return;
        }
    }
    state.SetLabel(kModes[state.range(0)]);
}
BENCHMARK(BM_CliDpiSet)
    ->Arg(0)
    ->Arg(1)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(10);

}  // namespace

BENCHMARK_MAIN();
