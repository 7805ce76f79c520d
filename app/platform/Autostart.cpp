#include "app/platform/Autostart.h"

#include <unistd.h>

#include "app/platform/XdgPaths.h"
#include "app/startup/IniFile.h"
#include "app/startup/Paths.h"
#include "quorl/core/Utf8.h"

std::string AutostartEntryPath() {
    return XdgConfigHome() + "/autostart/Talvane.desktop";
}

std::string AutostartExecLine(const std::string& programPath) {
    // Inside the quotes of an Exec argument, " ` $ and \ take a backslash; the entry's own
    // string escaping then doubles every backslash, and % is written %%.
    std::string argument = "\"";
    for (char c : programPath) {
        if (c == '"' || c == '`' || c == '$' || c == '\\') {
            argument += '\\';
        }
        argument += c;
    }
    argument += '"';
    std::string value;
    for (char c : argument) {
        if (c == '\\' || c == '%') {
            value += c;
        }
        value += c;
    }
    return value + " -hide";
}

void SetAutostart(bool on) {
    const std::string path = AutostartEntryPath();
    if (!on) {
        unlink(path.c_str());
        return;
    }
    const std::string program = ExecutablePath();
    if (program.empty() || !CreateFolderPath(Quorl::Utf8ToWide(XdgConfigHome() + "/autostart"))) {
        return;
    }
    const std::string entry =
        "[Desktop Entry]\n"
        "Type=Application\n"
        "Name=Talvane\n"
        "Comment=Mouse configuration, started hidden in the tray\n"
        "Exec=" +
        AutostartExecLine(program) +
        "\n"
        "Icon=talvane\n"
        "Terminal=false\n"
        "X-GNOME-Autostart-enabled=true\n";
    WriteFileAtomically(path, entry);
}

bool IsAutostartOn() {
    std::string contents;
    if (!ReadWholeFile(AutostartEntryPath(), contents)) {
        return false;
    }
    const IniDocument entry = IniDocument::Parse(contents);
    const std::wstring* hidden = entry.Find(L"Desktop Entry", L"Hidden");
    return hidden == nullptr || *hidden != L"true";
}
