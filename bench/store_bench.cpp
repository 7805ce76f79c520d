// One configuration write and one read on a database with the five default profiles: the
// pages issue one such write for every change a user makes.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <string>

#include "app/store/DeviceDataDB.h"
#include "quorl/core/Utf8.h"

namespace {

struct Store {
    Store() {
        char pattern[] = "/tmp/talvane-bench-XXXXXX";
        folder = mkdtemp(pattern);
        std::filesystem::create_directory(folder + "/db");
        db.OpenDeviceDatabase(Quorl::Utf8ToWide(folder + "/"), L"Bench");
        for (int i = 1; i <= 5; ++i) {
            db.AddProfile(ProfileInfo{0, L"Profile " + std::to_wstring(i)});
        }
        db.SetActiveProfile(1);
    }
    ~Store() {
        db.CloseDeviceDatabase();
        std::filesystem::remove_all(folder);
    }
    std::string folder;
    DeviceDataDB db;
};

void BM_SetConfigValue(benchmark::State& state) {
    Store store;
    int value = 100;
    for (auto _ : state) {
        const std::wstring text = std::to_wstring(value += 50);
        benchmark::DoNotOptimize(store.db.SetConfigValue(3, L"dpi_group2_value", text));
    }
}
BENCHMARK(BM_SetConfigValue)->Repetitions(9)->ReportAggregatesOnly(true);

void BM_GetConfigValue(benchmark::State& state) {
    Store store;
    std::wstring value;
    for (auto _ : state) {
        benchmark::DoNotOptimize(store.db.GetConfigValue(3, L"dpi_group2_value", value));
    }
}
BENCHMARK(BM_GetConfigValue)->Repetitions(9)->ReportAggregatesOnly(true);

}  // namespace

BENCHMARK_MAIN();
