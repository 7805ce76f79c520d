// The program entry: settles the language, prepares the data folders and opens the selected
// model's database.
#include <cstdio>
#include <cstring>
#include <string>

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

    // Until the device list is read, no model entry matches and the file is "_data.db".
    DeviceDataDB& store = DeviceDataDB::Instance();
    const bool opened = store.OpenDeviceDatabase(GetDataFolder(), L"");
    std::printf("Talvane: language %d, %s %s\n", language, opened ? "opened" : "could not open",
                store.Path().c_str());
    return 0;
}
