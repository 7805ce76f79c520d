#pragma once

#include <string>
#include <string_view>
#include <vector>

// The private-profile (INI) format: "[section]" lines, "key=value" lines, ";" comments.
// Section and key names compare without regard to ASCII case; the first occurrence counts.
// Files are UTF-8 (a leading byte-order mark is skipped).
class IniDocument {
public:
    struct Entry {
        std::wstring key;
        std::wstring value;
    };
    struct Section {
        std::wstring name;
        std::vector<Entry> entries;
    };

    static IniDocument Parse(std::string_view utf8);
    std::string Serialize() const;

    // Null when the section or key is absent.
    const std::wstring* Find(std::wstring_view section, std::wstring_view key) const;
    void Set(std::wstring_view section, std::wstring_view key, std::wstring_view value);

private:
    std::vector<Section> sections_;
};

// The value of key in section of the INI file, at most 259 characters; empty when the file,
// the section or the key is missing.
std::wstring ReadIniString(std::wstring_view section, std::wstring_view key,
                           std::wstring_view file);

// Reads a whole file; false when it cannot be read.
bool ReadWholeFile(const std::string& path, std::string& contents);

// Writes through a temporary file in the same folder and renames it over path, so that
// readers see the old file or the new one, never a part.
bool WriteFileAtomically(const std::string& path, std::string_view contents);
