#include "app/startup/IniFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <sstream>

#include "quorl/core/Utf8.h"

namespace {

constexpr size_t kMaxValueCharacters = 259;

std::wstring_view Trim(std::wstring_view text) {
    const auto isBlank = [](wchar_t c) { return c == L' ' || c == L'\t' || c == L'\r'; };
    while (!text.empty() && isBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && isBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

bool EqualNoCase(std::wstring_view a, std::wstring_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (size_t i = 0; i < a.size(); ++i) {
        wchar_t x = a[i], y = b[i];
        if (x >= L'A' && x <= L'Z')
            x += 32;
        if (y >= L'A' && y <= L'Z')
            y += 32;
        if (x != y) {
            return false;
        }
    }
    return true;
}

}  // namespace

IniDocument IniDocument::Parse(std::string_view utf8) {
    if (utf8.starts_with("\xEF\xBB\xBF")) {
        utf8.remove_prefix(3);
    }
    const std::wstring text = Quorl::Utf8ToWide(utf8);
    IniDocument document;
    Section* current = nullptr;
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find(L'\n', start);
        if (end == std::wstring::npos) {
            end = text.size();
        }
        const std::wstring_view line = Trim(std::wstring_view(text).substr(start, end - start));
        start = end + 1;
        if (line.empty() || line.front() == L';') {
            continue;
        }
        if (line.front() == L'[') {
            const size_t close = line.find(L']');
            const std::wstring_view name = Trim(
                line.substr(1, close == std::wstring_view::npos ? line.size() - 1 : close - 1));
            document.sections_.push_back(Section{std::wstring(name), {}});
            current = &document.sections_.back();
            continue;
        }
        const size_t equals = line.find(L'=');
        if (current == nullptr || equals == std::wstring_view::npos) {
            continue;
        }
        std::wstring_view value = Trim(line.substr(equals + 1));
        // A value in matching quotes loses them, as the private-profile reader does.
        if (value.size() >= 2 && (value.front() == L'"' || value.front() == L'\'') &&
            value.back() == value.front()) {
            value = value.substr(1, value.size() - 2);
        }
        current->entries.push_back(
            Entry{std::wstring(Trim(line.substr(0, equals))), std::wstring(value)});
    }
    return document;
}

std::string IniDocument::Serialize() const {
    std::wstring text;
    for (const Section& section : sections_) {
        text += L"[" + section.name + L"]\n";
        for (const Entry& entry : section.entries) {
            text += entry.key + L"=" + entry.value + L"\n";
        }
    }
    return Quorl::WideToUtf8(text);
}

const std::wstring* IniDocument::Find(std::wstring_view section, std::wstring_view key) const {
    for (const Section& s : sections_) {
        if (!EqualNoCase(s.name, section)) {
            continue;
        }
        for (const Entry& entry : s.entries) {
            if (EqualNoCase(entry.key, key)) {
                return &entry.value;
            }
        }
    }
    return nullptr;
}

void IniDocument::Set(std::wstring_view section, std::wstring_view key, std::wstring_view value) {
    for (Section& s : sections_) {
        if (!EqualNoCase(s.name, section)) {
            continue;
        }
        for (Entry& entry : s.entries) {
            if (EqualNoCase(entry.key, key)) {
                entry.value = value;
                return;
            }
        }
        s.entries.push_back(Entry{std::wstring(key), std::wstring(value)});
        return;
    }
    sections_.push_back(
        Section{std::wstring(section), {Entry{std::wstring(key), std::wstring(value)}}});
}

bool ReadWholeFile(const std::string& path, std::string& contents) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return false;
    }
    std::ostringstream buffer;
    buffer << in.rdbuf();
    if (in.bad()) {
        return false;
    }
    contents = buffer.str();
    return true;
}

bool WriteFileAtomically(const std::string& path, std::string_view contents) {
    const std::string temporary = path + ".tmp-XXXXXX";
    std::string name = temporary;
    const int fd = mkstemp(name.data());
    if (fd < 0) {
        return false;
    }
    bool written = true;
    for (size_t done = 0; written && done < contents.size();) {
        const ssize_t n = write(fd, contents.data() + done, contents.size() - done);
        written = n > 0;
        done += written ? static_cast<size_t>(n) : 0;
    }
    fchmod(fd, 0644);
    written = fsync(fd) == 0 && written;
    written = close(fd) == 0 && written;
    if (!written || std::rename(name.c_str(), path.c_str()) != 0) {
        unlink(name.c_str());
        return false;
    }
    return true;
}

std::wstring ReadIniString(std::wstring_view section, std::wstring_view key,
                           std::wstring_view file) {
    std::string contents;
    if (!ReadWholeFile(Quorl::WideToUtf8(file), contents)) {
        return {};
    }
    const IniDocument document = IniDocument::Parse(contents);
    const std::wstring* value = document.Find(section, key);
    if (value == nullptr) {
        return {};
    }
    return value->substr(0, kMaxValueCharacters);
}
