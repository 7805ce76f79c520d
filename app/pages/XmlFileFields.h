#pragma once

#include <optional>
#include <string>
#include <string_view>

class XmlDocument;

// Helpers shared by the macro and profile files.

// The path with ".xml" appended unless it already ends in ".xml" in any letter case.
std::wstring WithXmlExtension(std::wstring_view path);

// Whether a regular file exists at the path.
bool XmlFileExists(std::wstring_view path);

// Reads attributes of the current element of a document, keeping the first problem found, so
// a file can be checked whole before anything is stored.
class AttributeReader {
public:
    explicit AttributeReader(const XmlDocument& document) : document_(document) {}

    // Names the element in problems ("item 3 of keyitems").
    void SetContext(std::wstring context) { context_ = std::move(context); }

    // A decimal number in low..high. A missing (or empty) attribute gives whenMissing, or is a
    // problem when whenMissing is nullopt or outside the range.
    int Number(std::wstring_view name, int low, int high, std::optional<int> whenMissing);
    std::wstring Text(std::wstring_view name) const;

    void Fail(std::wstring problem);
    bool Ok() const { return problem_.empty(); }
    const std::wstring& Problem() const { return problem_; }

private:
    const XmlDocument& document_;
    std::wstring context_;
    std::wstring problem_;
};
