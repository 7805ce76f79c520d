#include "quorl/render/FontLibrary.h"

#include <fontconfig/fontconfig.h>
#include <glib.h>
#include <glib/gstdio.h>

#include <fstream>

#include "quorl/render/TextLayout.h"

namespace Quorl {

namespace {

// The two Source Han Sans CN faces the toolkit names resolve to the same design under its
// Noto name, with the weight the face name says.
const char kFaceAliases[] = R"(<?xml version="1.0"?>
<!DOCTYPE fontconfig SYSTEM "fonts.dtd">
<fontconfig>
  <match target="pattern">
    <test name="family"><string>Source Han Sans CN Bold</string></test>
    <edit name="weight" mode="assign"><const>bold</const></edit>
    <edit name="family" mode="assign" binding="strong">
      <string>Source Han Sans CN</string><string>Noto Sans CJK SC</string>
    </edit>
  </match>
  <match target="pattern">
    <test name="family"><string>Source Han Sans CN Normal</string></test>
    <edit name="weight" mode="assign"><const>regular</const></edit>
    <edit name="family" mode="assign" binding="strong">
      <string>Source Han Sans CN</string><string>Noto Sans CJK SC</string>
    </edit>
  </match>
</fontconfig>
)";

bool Listed(const std::string& family) {
    FcPattern* pattern = FcPatternCreate();
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
    FcObjectSet* os = FcObjectSetBuild(FC_FAMILY, nullptr);
    FcFontSet* set = FcFontList(nullptr, pattern, os);
    const bool found = set && set->nfont > 0;
    if (set) {
        FcFontSetDestroy(set);
    }
    FcObjectSetDestroy(os);
    FcPatternDestroy(pattern);
    return found;
}

}  // namespace

FontLibrary& FontLibrary::Instance() {
    static FontLibrary library;
    return library;
}

FontLibrary::FontLibrary() {
    FcInit();
    FcConfigParseAndLoadFromMemory(FcConfigGetCurrent(),
                                   reinterpret_cast<const FcChar8*>(kFaceAliases), FcFalse);
    NotifyFontsChanged();
}

FontLibrary::~FontLibrary() {
    for (auto& [path, entry] : m_files) {
        if (entry.ownFile) {
            g_remove(path.c_str());
        }
    }
    if (!m_folder.empty()) {
        g_rmdir(m_folder.c_str());
    }
}

int FontLibrary::Register(const std::string& path, CString* firstFamily) {
    int count = 0;
    FcPattern* query =
        FcFreeTypeQuery(reinterpret_cast<const FcChar8*>(path.c_str()), 0, nullptr, &count);
    if (!query) {
        return 0;
    }
    FcChar8* family = nullptr;
    if (firstFamily && FcPatternGetString(query, FC_FAMILY, 0, &family) == FcResultMatch) {
        *firstFamily = CString::FromUtf8(reinterpret_cast<const char*>(family));
    }
    FcPatternDestroy(query);
    Entry& entry = m_files[path];
    entry.path = path;
    if (entry.uses++ == 0) {
        if (!FcConfigAppFontAddFile(nullptr, reinterpret_cast<const FcChar8*>(path.c_str()))) {
            m_files.erase(path);
            return 0;
        }
        NotifyFontsChanged();
    }
    const int handle = m_nextHandle++;
    m_handles[handle] = path;
    return handle;
}

int FontLibrary::AddFontFile(const CString& path, CString* firstFamily) {
    if (path.IsEmpty()) {
        return 0;
    }
    std::lock_guard<std::mutex> guard(m_lock);
    return Register(path.ToUtf8(), firstFamily);
}

int FontLibrary::AddFontData(const std::vector<std::uint8_t>& data, CString* firstFamily) {
    if (data.empty()) {
        return 0;
    }
    std::lock_guard<std::mutex> guard(m_lock);
    gchar* digest = g_compute_checksum_for_data(G_CHECKSUM_SHA256, data.data(), data.size());
    const std::string key = digest;
    g_free(digest);
    auto known = m_extracted.find(key);
    if (known != m_extracted.end()) {
        return Register(known->second, firstFamily);
    }
    if (m_folder.empty()) {
        gchar* folder = g_dir_make_tmp("quorl-fonts-XXXXXX", nullptr);
        if (!folder) {
            return 0;
        }
        m_folder = folder;
        g_free(folder);
    }
    const std::string path = m_folder + "/font" + std::to_string(m_nextFile++);
    {
        std::ofstream out(path, std::ios::binary);
        out.write(reinterpret_cast<const char*>(data.data()),
                  static_cast<std::streamsize>(data.size()));
        if (!out) {
            g_remove(path.c_str());
            return 0;
        }
    }
    const int handle = Register(path, firstFamily);
    if (!handle) {
        g_remove(path.c_str());
        return 0;
    }
    m_files[path].ownFile = true;
    m_extracted[key] = path;
    return handle;
}

void FontLibrary::Remove(int handle) {
    std::lock_guard<std::mutex> guard(m_lock);
    auto h = m_handles.find(handle);
    if (h == m_handles.end()) {
        return;
    }
    const std::string path = h->second;
    m_handles.erase(h);
    auto f = m_files.find(path);
    if (f == m_files.end() || --f->second.uses > 0) {
        return;
    }
    // Fontconfig cannot drop one application font: clear them and add back the rest. The
    // extracted file stays (and keeps its digest) for the next registration.
    m_files.erase(f);
    Rebuild();
    for (auto e = m_extracted.begin(); e != m_extracted.end(); ++e) {
        if (e->second == path) {
            m_files[path] = Entry{path, 0, true};
        }
    }
}

void FontLibrary::Rebuild() {
    FcConfigAppFontClear(nullptr);
    for (const auto& [path, entry] : m_files) {
        if (entry.uses > 0) {
            FcConfigAppFontAddFile(nullptr, reinterpret_cast<const FcChar8*>(path.c_str()));
        }
    }
    NotifyFontsChanged();
}

bool FontLibrary::HasFamily(const CString& family) {
    if (family.IsEmpty()) {
        return false;
    }
    std::lock_guard<std::mutex> guard(m_lock);
    if (Listed(family.ToUtf8())) {
        return true;
    }
    // Faces known under another name: the Windows core fonts through their metric twins.
    static const struct {
        const wchar_t* face;
        const char* twins[2];
    } kTwins[] = {
        {L"Source Han Sans CN Bold", {"Source Han Sans CN", "Noto Sans CJK SC"}},
        {L"Source Han Sans CN Normal", {"Source Han Sans CN", "Noto Sans CJK SC"}},
        {L"Arial", {"Liberation Sans", "Arimo"}},
        {L"Times New Roman", {"Liberation Serif", "Tinos"}},
        {L"Courier New", {"Liberation Mono", "Cousine"}},
    };
    for (const auto& t : kTwins) {
        if (family.CompareNoCase(t.face) == 0) {
            return Listed(t.twins[0]) || Listed(t.twins[1]);
        }
    }
    return false;
}

int FontLibrary::GetRegisteredFileCount() {
    std::lock_guard<std::mutex> guard(m_lock);
    int n = 0;
    for (const auto& [path, entry] : m_files) {
        n += entry.uses > 0;
    }
    return n;
}

}  // namespace Quorl
