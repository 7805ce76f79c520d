// Reading the shipped model list and a description file, as the main window does at start and
// at every model change, and parsing a document of about 1 MB (a large macro file).
#include <benchmark/benchmark.h>

#include <string>

#include "app/devicedesc/DeviceDescription.h"
#include "app/devicedesc/DeviceList.h"
#include "app/xml/XmlDocument.h"
#include "quorl/core/Utf8.h"

namespace {

std::wstring DataFolder() {
    return Quorl::Utf8ToWide(TALVANE_BENCH_DATA_DIR "/");
}

void LoadShippedDeviceList(benchmark::State& state) {
    const std::wstring path = DeviceListPath(DataFolder());
    for (auto _ : state) {
        DeviceList list;
        benchmark::DoNotOptimize(LoadDeviceList(path, list));
        if (list.devices.size() != 2) {
            state.SkipWithError("config.xml did not load");
        }
    }
}
BENCHMARK(LoadShippedDeviceList);

void LoadShippedDescription(benchmark::State& state) {
    const std::wstring path = DeviceDescriptionPath(DataFolder(), L"Veyra");
    for (auto _ : state) {
        DeviceDescription description;
        if (!LoadDeviceDescription(path, description).buttonsFound) {
            state.SkipWithError("Veyra.xml did not load");
        }
        benchmark::DoNotOptimize(description.buttons.data());
    }
}
BENCHMARK(LoadShippedDescription);

void ParseOneMegabyte(benchmark::State& state) {
    std::wstring text =
        L"<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<macro>\r\n<macroitems>\r\n";
    int index = 0;
    while (text.size() < (1u << 20)) {
        text += L"<item desc=\"A &amp; B\" index=\"" + std::to_wstring(index++) +
                L"\" type=\"1\" value=\"4\" timestamp=\"120\"/>\r\n";
    }
    text += L"</macroitems>\r\n</macro>\r\n";
    for (auto _ : state) {
        XmlDocument document;
        if (!document.SetDocumentText(text)) {
            state.SkipWithError("not well formed");
        }
        benchmark::DoNotOptimize(document.DocumentText().data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(text.size()));
    state.counters["elements"] = index;
}
BENCHMARK(ParseOneMegabyte)->Unit(benchmark::kMillisecond);

}  // namespace
BENCHMARK_MAIN();
