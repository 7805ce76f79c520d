#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "app/xml/XmlReport.h"
#include "app/xml/XmlTextCodec.h"

// A whole XML document as text, an index of its elements over that text, and a cursor that
// moves from element to element. Only elements and attributes are read or written; every edit
// splices the text, so comments, white space and the declaration survive a round trip.
//
// Readers: LoadFile, FindElement of the root, EnterElement, then FindElement/ReadAttribute in
// document order (the search only moves forward), EnterElement/LeaveElement around nested
// lists. Writers: SetDocumentText with the declaration line, AppendElement, EnterElement for
// children, WriteAttribute, SaveFile. Nothing throws; failures are false or empty results and
// an entry in the report.
class XmlDocument {
public:
    XmlDocument();

    // Reads, decodes and parses a file; true when it was read and is well formed.
    bool LoadFile(std::wstring_view path);
    // Replaces the text (null means empty) and parses it; true when well formed.
    bool SetDocumentText(const wchar_t* text);
    bool SetDocumentText(std::wstring_view text);

    // The next child of the current parent with this name, after the current element (or
    // from the first child when there is none). Case matters. Not found: cursor unchanged.
    bool FindElement(std::wstring_view name);
    // The current element becomes the parent; the next FindElement starts at its first child.
    bool EnterElement();
    // The parent becomes the current element again.
    bool LeaveElement();
    // The decoded value; empty without a current element or such an attribute.
    std::wstring ReadAttribute(std::wstring_view name) const;

    // Inserts "<name/>" CR LF after the current element, or as the last child of the parent,
    // and makes it current.
    bool AppendElement(std::wstring_view name);
    // Sets an attribute of the current element, replacing the value of an existing one.
    bool WriteAttribute(std::wstring_view name, std::wstring_view value);

    // Writes the text: with the byte-order mark the file had when loaded, else in the encoding
    // the text declares, else UTF-8.
    bool SaveFile(std::wstring_view path);

    const std::wstring& DocumentText() const { return text_; }
    const XmlReport& Report() const { return report_; }
    XmlByteOrderMark ByteOrderMark() const { return bom_; }
    // Not marked ill formed by parsing, and exactly one top-level element.
    bool IsWellFormed() const;
    // The name of the current element, empty without one.
    std::wstring CurrentElementName() const;

    // Files larger than this are refused rather than held in memory.
    static constexpr size_t kMaxFileBytes = 32u << 20;

private:
    struct Element {
        size_t start = 0;   // offset of '<'
        size_t length = 0;  // up to and including the end tag
        size_t startTagLength = 0;
        size_t endTagLength = 0;
        uint32_t flags = 0;
        uint32_t parent = 0;
        uint32_t firstChild = 0;
        uint32_t nextSibling = 0;
        uint32_t previousSibling = 0;
        uint32_t lastChild = 0;  // keeps appending to long lists cheap
    };
    static constexpr uint32_t kEmptyElement = 1;  // written as <name/>
    static constexpr uint32_t kIllFormed = 2;     // on the document record only

    // Where an attribute stands in a start tag; valueStart/valueEnd are the part to replace
    // when writing a new value (inside the quotes when it has them).
    struct AttributeSpan {
        bool found = false;
        bool quoted = false;
        size_t nameEnd = 0;
        size_t valueStart = 0;
        size_t valueEnd = 0;
    };

    void Parse();
    void ResetCursor();
    uint32_t AddElement(size_t start, uint32_t parent);
    void LinkLastChild(uint32_t parent, uint32_t child);
    void LinkAfter(uint32_t previous, uint32_t element);
    void Problem(std::wstring_view name, size_t offset, std::wstring_view tagName = {});
    size_t TagEnd(size_t from) const;
    size_t NameEnd(size_t from) const;
    bool NameIs(uint32_t element, std::wstring_view name) const;
    AttributeSpan FindAttribute(uint32_t element, std::wstring_view name) const;
    void Splice(size_t position, size_t removed, std::wstring_view inserted);
    void CoverInAncestors(uint32_t element);
    void ReserveText(size_t needed);

    std::wstring text_;
    std::vector<Element> elements_;  // [0] is the document itself
    uint32_t parent_ = 0;
    uint32_t current_ = 0;
    uint32_t remembered_ = 0;
    XmlByteOrderMark bom_ = XmlByteOrderMark::None;
    XmlReport report_;
};
