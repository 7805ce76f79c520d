#pragma once

#include <cstdint>
#include <map>
#include <mutex>
#include <vector>

#include "quorl/core/CString.h"

namespace Quorl {

// The process's application fonts: font files (or resource bytes, written to a private file)
// made known to the text renderer without installing them. Registrations are counted per
// handle, so that one window removing its fonts leaves those of other windows in place.
class FontLibrary {
public:
    static FontLibrary& Instance();

    // A handle (> 0) for the registration, 0 when the data is not a font. firstFamily gets
    // the first family name the font declares.
    int AddFontData(const std::vector<std::uint8_t>& data, CString* firstFamily = nullptr);
    int AddFontFile(const CString& path, CString* firstFamily = nullptr);
    void Remove(int handle);

    // Whether the renderer has a face of that family, installed or registered here. Faces
    // known under another name count when their twin is present: Source Han Sans CN as
    // Noto Sans CJK SC, Arial as Liberation Sans.
    bool HasFamily(const CString& family);
    int GetRegisteredFileCount();

private:
    FontLibrary();
    ~FontLibrary();
    FontLibrary(const FontLibrary&) = delete;

    int Register(const std::string& path, CString* firstFamily);
    void Rebuild();

    struct Entry {
        std::string path;
        int uses = 0;
        bool ownFile = false;  // extracted by us, deleted when no longer used
    };
    std::mutex m_lock;
    std::map<std::string, Entry> m_files;            // by path
    std::map<int, std::string> m_handles;            // handle -> path
    std::map<std::string, std::string> m_extracted;  // content digest -> path
    std::string m_folder;
    int m_nextHandle = 1;
    int m_nextFile = 1;
};

}  // namespace Quorl
