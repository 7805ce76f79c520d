#pragma once

#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>

// What loading, parsing and saving did, as a row of empty elements ("<read length="12"/>").
// Nobody acts on it; it is there for a person looking into a file that did not load. It stops
// growing once it passes 999 characters.
class XmlReport {
public:
    using Attribute = std::pair<std::wstring_view, std::wstring>;

    void Clear() { text_.clear(); }
    const std::wstring& Text() const { return text_; }
    bool Contains(std::wstring_view entry) const {
        return text_.find(L"<" + std::wstring(entry) + L" ") != std::wstring::npos ||
               text_.find(L"<" + std::wstring(entry) + L"/>") != std::wstring::npos;
    }

    void Add(std::wstring_view entry, std::initializer_list<Attribute> attributes = {});

private:
    std::wstring text_;
};
