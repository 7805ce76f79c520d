// The program entry: settles the language, prepares the data folders, picks the model and
// opens its database.
#include <cstdio>
#include <cstring>
#include <string>

#include "app/devicedesc/DeviceDescription.h"
#include "app/devicedesc/DeviceList.h"
#include "app/settings/Settings.h"
#include "app/startup/Paths.h"
#include "app/startup/Startup.h"
#include "app/store/DeviceDataDB.h"
#include "quorl/core/Utf8.h"

namespace {

void PrintHelp() {
    std::puts(
        "Usage: talvane [-hide] [--help] [--version]\n"
        "\n"
        "Configures the mice of the Talvane family.\n"
        "\n"
        "  -hide       start hidden in the tray\n"
        "  --help      show this text and exit\n"
        "  --version   show the version and exit\n"
        "\n"
        "Settings:  $XDG_CONFIG_HOME/Talvane/settings.ini\n"
        "Databases: $XDG_DATA_HOME/Talvane/db/");
}

}  // namespace

int main(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            PrintHelp();
            return 0;
        }
        if (std::strcmp(argv[i], "--version") == 0) {
            std::printf("talvane %s\n", TALVANE_VERSION);
            return 0;
        }
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
    std::printf("Talvane: language %d, model %d, %s %s\n", language, deviceType,
                opened ? "opened" : "could not open", DeviceDataDB::Instance().Path().c_str());
    return 0;
}
