#include "app/startup/Paths.h"

#include <sys/stat.h>

#include <cerrno>

#include "app/platform/XdgPaths.h"
#include "quorl/core/Utf8.h"

namespace {

bool IsFolder(const std::string& path) {
    struct stat info;
    return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

}  // namespace

std::wstring GetModuleFolder() {
    std::string path = ExecutablePath();
    const size_t slash = path.rfind('/');
    path = slash == std::string::npos ? std::string("./") : path.substr(0, slash + 1);
    return Quorl::Utf8ToWide(path);
}

std::wstring GetDataFolder() {
    return Quorl::Utf8ToWide(XdgDataHome()) + L"/" + kProductName + L"/";
}

bool CreateFolderPath(std::wstring_view path) {
    const std::string utf8 = Quorl::WideToUtf8(path);
    if (utf8.empty()) {
        return false;
    }
    if (IsFolder(utf8)) {
        return true;
    }
    // Each parent in turn; failures are left to the final check, so existing parents do no harm.
    for (size_t slash = utf8.find('/', 1); slash != std::string::npos;
         slash = utf8.find('/', slash + 1)) {
        mkdir(utf8.substr(0, slash).c_str(), 0755);
    }
    if (mkdir(utf8.c_str(), 0755) == 0 || errno == EEXIST) {
        return IsFolder(utf8);
    }
    return false;
}
