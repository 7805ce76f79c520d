#include "app/settings/Settings.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <climits>

#include "app/platform/XdgPaths.h"
#include "app/startup/IniFile.h"
#include "app/startup/Paths.h"
#include "quorl/core/Utf8.h"

namespace {

constexpr const wchar_t* kSection = L"Talvane";

enum class ReadResult { Opened, NotFound, Failed };

ReadResult ReadSettings(IniDocument& document) {
    const std::string path = SettingsFilePath();
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return errno == ENOENT || errno == ENOTDIR ? ReadResult::NotFound : ReadResult::Failed;
    }
    std::string contents;
    char buffer[4096];
    ssize_t n;
    while ((n = read(fd, buffer, sizeof buffer)) > 0) {
        contents.append(buffer, static_cast<size_t>(n));
    }
    close(fd);
    if (n < 0) {
        return ReadResult::Failed;
    }
    document = IniDocument::Parse(contents);
    return ReadResult::Opened;
}

int ReadNumber(const wchar_t* key, bool createWhenMissing) {
    IniDocument document;
    switch (ReadSettings(document)) {
        case ReadResult::Opened: {
            const std::wstring* value = document.Find(kSection, key);
            return value == nullptr ? 0 : LeadingDecimal(*value);
        }
        case ReadResult::NotFound:
            if (!createWhenMissing) {
                return 0;
            }
            if (CreateFolderPath(Quorl::Utf8ToWide(XdgConfigHome() + "/Talvane")) &&
                WriteFileAtomically(SettingsFilePath(), "[Talvane]\n")) {
                return 0;
            }
            return 2052;
        case ReadResult::Failed:
            break;
    }
    return createWhenMissing ? 2052 : 0;
}

void WriteNumber(const wchar_t* key, int value) {
    IniDocument document;
    if (ReadSettings(document) != ReadResult::Opened) {
        return;
    }
    document.Set(kSection, key, std::to_wstring(value));
    WriteFileAtomically(SettingsFilePath(), document.Serialize());
}

}  // namespace

std::string SettingsFilePath() {
    return XdgConfigHome() + "/Talvane/settings.ini";
}

int LeadingDecimal(const std::wstring& text) {
    size_t i = 0;
    while (i < text.size() && (text[i] == L' ' || text[i] == L'\t')) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == L'+' || text[i] == L'-')) {
        negative = text[i] == L'-';
        ++i;
    }
    long long value = 0;
    for (; i < text.size() && text[i] >= L'0' && text[i] <= L'9'; ++i) {
        value = value * 10 + (text[i] - L'0');
        if (value > INT_MAX) {
            value = INT_MAX;  // clamp rather than overflow on a long run of digits
        }
    }
    return static_cast<int>(negative ? -value : value);
}

int ReadLanguageCode() {
    return ReadNumber(L"LCID", true);
}

void WriteLanguageCode(int code) {
    WriteNumber(L"LCID", code);
}

int ReadDeviceType() {
    return ReadNumber(L"DeviceType", false);
}

void WriteDeviceType(int type) {
    WriteNumber(L"DeviceType", type);
}
