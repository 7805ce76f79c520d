// The program entry: settles the language, prepares the data folders, picks the model, opens
// its database, finds the mouse and reads it into the store. Until the main window exists the
// program says what it found on standard output and ends.
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include "app/console/ConsoleSessionView.h"
#include "app/console/VirtualMouseProcess.h"
#include "app/device/DeviceConnector.h"
#include "app/device/DeviceSession.h"
#include "app/device/DeviceTaskQueue.h"
#include "app/device/HidDeviceManager.h"
#include "app/device/Sleeper.h"
#include "app/device/VirtualHidBackend.h"
#include "app/devicedesc/DeviceDescription.h"
#include "app/devicedesc/DeviceList.h"
#include "app/platform/BluezBattery.h"
#include "app/platform/HidrawBackend.h"
#include "app/platform/InstanceLock.h"
#include "app/settings/Settings.h"
#include "app/startup/Paths.h"
#include "app/startup/Startup.h"
#include "app/store/DeviceDataDB.h"
#include "quorl/core/Utf8.h"

namespace {

void PrintHelp() {
    std::puts(
        "Usage: talvane [-hide] [--virtual-mouse[=cable|receiver|bluetooth]] [--virtual-dir DIR]\n"
        "               [--help] [--version]\n"
        "\n"
        "Configures the mice of the Talvane family.\n"
        "\n"
        "  -hide                 start hidden in the tray\n"
        "  --virtual-mouse[=M]   start a virtual mouse of our own (cable by default) and use it\n"
        "  --virtual-dir DIR     use the running talvane-virtual-mouse whose folder is DIR\n"
        "                        (TALVANE_VIRTUAL_HID_DIR does the same)\n"
        "  --help                show this text and exit\n"
        "  --version             show the version and exit\n"
        "\n"
        "Settings:  $XDG_CONFIG_HOME/Talvane/settings.ini\n"
        "Databases: $XDG_DATA_HOME/Talvane/db/");
}

}  // namespace

int main(int argc, char** argv) {
    std::string virtualMode;
    std::string virtualDir = VirtualHidBackend::FolderFromEnvironment();
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--virtual-mouse") {
            virtualMode = "cable";
            continue;
        }
        if (arg.starts_with("--virtual-mouse=")) {
            virtualMode = arg.substr(16);
            if (virtualMode != "cable" && virtualMode != "receiver" && virtualMode != "bluetooth") {
                std::fprintf(stderr,
                             "talvane: --virtual-mouse takes cable, receiver or bluetooth\n");
                return 2;
            }
            continue;
        }
        if (arg == "--virtual-dir") {
            if (i + 1 >= argc) {
                std::fprintf(stderr, "talvane: --virtual-dir needs a folder\n");
                return 2;
            }
            virtualDir = argv[++i];
            continue;
        }
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            PrintHelp();
            return 0;
        }
        if (std::strcmp(argv[i], "--version") == 0) {
            std::printf("talvane %s\n", TALVANE_VERSION);
            return 0;
        }
    }

    // One copy at a time; talvane-cli also leaves the mouse alone while this is held.
    InstanceLock instance;
    if (instance.TryTake() == InstanceLockState::kHeldElsewhere) {
        std::printf("Talvane is already running\n");
        return 0;
    }

    const int language = SettleLanguage();
    CreateDataFolders();

    // The last chosen model when config.xml still lists it, else its first model. Without a
    // list no model matches and the database is "_data.db".
    DeviceList devices;
    LoadDeviceList(DeviceListPath(GetModuleFolder()), devices);
    const int deviceType = devices.SelectDeviceType(ReadDeviceType());
    if (deviceType != 0) {
        WriteDeviceType(deviceType);
    }
    const bool opened = OpenModelDatabase(devices.ModelName(deviceType));
    DeviceDataDB& store = DeviceDataDB::Instance();
    std::printf("Talvane: language %d, model %d, %s %s\n", language, deviceType,
                opened ? "opened" : "could not open", store.Path().c_str());

    // The mouse: a virtual one when asked for, else the real devices.
    VirtualMouseProcess virtualMouse;
    if (!virtualMode.empty()) {
        if (!virtualMouse.Start(virtualMode, deviceType)) {
            return 1;
        }
        virtualDir = virtualMouse.Folder();
    }
    std::unique_ptr<HidBackend> backend;
    if (!virtualDir.empty()) {
        backend = std::make_unique<VirtualHidBackend>(virtualDir);
    } else {
        backend = std::make_unique<HidrawBackend>();
    }
    SteadySleeper clock;
    HidDeviceManager hid(backend.get(), &clock);
    DeviceTaskQueue tasks;
    // Over Bluetooth LE the battery comes from BlueZ: the virtual mouse's own bus, else
    // $TALVANE_BLUEZ_BUS, else the system bus.
    BluezBatteryService battery(virtualMouse.BluezBus().empty() ? BluezBusFromEnvironment()
                                                                : virtualMouse.BluezBus());
    ConsoleSessionView view(stdout);
    view.AttachBluetoothBattery(&battery, &hid);
    DeviceConnector connector(hid, view, tasks);
    connector.SetModeEntries(devices.modes);
    connector.SetCurrentType(deviceType);
    connector.ConnectDevices();
    if (connector.Connected()) {
        DeviceSession session(hid, store, connector, tasks, view, clock);
        if (session.InitialSync()) {
            const int profile = session.CurrentProfile();
            std::wstring count, level;
            store.GetConfigValue(profile, L"dpi_count", count);
            store.GetConfigValue(profile, L"dpi_index", level);
            std::printf("Read the mouse into profile %d: %s DPI levels, level %d active\n", profile,
                        Quorl::WideToUtf8(count).c_str(), LeadingDecimal(level) + 1);
        }
    }
    battery.Close();  // before the view and the device link go
    return 0;
}
