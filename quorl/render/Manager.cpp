#include "quorl/render/Manager.h"

#include <unistd.h>

#include <algorithm>
#include <mutex>

#include "quorl/render/Resources.h"

namespace Quorl {

namespace {

struct Settings {
    HINSTANCE instance = nullptr;
    CString fontName = L"Arial";
    int fontWidth = 14;
    Color selectColor = Color(0xFF3E556D);
    CString programFolder;  // override; empty = the executable's folder
};

Settings& Get() {
    static Settings settings;
    return settings;
}

std::mutex& WindowLock() {
    static std::mutex lock;
    return lock;
}

std::vector<MWindow*>& Windows() {
    static std::vector<MWindow*> windows;
    return windows;
}

CString ExecutableFolder() {
    std::string buffer(4096, '\0');
    const ssize_t n = readlink("/proc/self/exe", buffer.data(), buffer.size());
    if (n <= 0 || static_cast<size_t>(n) >= buffer.size()) {
        return L"./";
    }
    buffer.resize(static_cast<size_t>(n));
    const size_t slash = buffer.rfind('/');
    return CString::FromUtf8(slash == std::string::npos ? "./" : buffer.substr(0, slash + 1));
}

}  // namespace

void Manager::SetInstance(HINSTANCE instance) {
    Get().instance = instance;
}

HINSTANCE Manager::GetInstance() {
    return Get().instance;
}

HINSTANCE Manager::GetToolkitInstance() {
    return GetToolkitModule();
}

void Manager::InitGdiplus() {
    std::lock_guard<std::mutex> guard(WindowLock());
    Windows().clear();
}

void Manager::UnInitGdiplus() {
    std::lock_guard<std::mutex> guard(WindowLock());
    Windows().clear();
}

void Manager::SetFont(const CString& face, int size) {
    SetFontName(face);
    if (size > 0) {
        Get().fontWidth = size;
    }
}

void Manager::SetFontName(const CString& face) {
    if (!face.IsEmpty()) {
        Get().fontName = face;
    }
}

CString Manager::GetFontName() {
    return Get().fontName;
}

int Manager::GetFontWidth() {
    return Get().fontWidth;
}

Color Manager::GetSelectColor() {
    return Get().selectColor;
}

CString Manager::GetTheme() {
    return L"theme1/";
}

CString Manager::GetProgramFolder() {
    CString folder = Get().programFolder;
    if (folder.IsEmpty()) {
        static const CString executableFolder = ExecutableFolder();
        return executableFolder;
    }
    if (folder.Right(1) != L"/") {
        folder += L'/';
    }
    return folder;
}

void Manager::SetProgramFolder(const CString& folder) {
    Get().programFolder = folder;
}

CString Manager::GetSkinFolder() {
    return GetProgramFolder() + L"skins/" + GetTheme();
}

CString Manager::GetSkinPath(const CString& name) {
    CString path = name;
    path.Replace(L'\\', L'/');
    if (path.IsEmpty() || path[0] == L'/') {
        return path;
    }
    return GetSkinFolder() + path;
}

void Manager::AddWnd(MWindow* window) {
    if (!window) {
        return;
    }
    std::lock_guard<std::mutex> guard(WindowLock());
    auto& list = Windows();
    if (std::find(list.begin(), list.end(), window) == list.end()) {
        list.push_back(window);
    }
}

void Manager::DeleteWnd(MWindow* window) {
    std::lock_guard<std::mutex> guard(WindowLock());
    auto& list = Windows();
    list.erase(std::remove(list.begin(), list.end(), window), list.end());
}

bool Manager::HasWnd(MWindow* window) {
    std::lock_guard<std::mutex> guard(WindowLock());
    const auto& list = Windows();
    return std::find(list.begin(), list.end(), window) != list.end();
}

std::vector<MWindow*> Manager::GetWindows() {
    std::lock_guard<std::mutex> guard(WindowLock());
    return Windows();
}

void M_Trace(const wchar_t*, ...) {}

}  // namespace Quorl
