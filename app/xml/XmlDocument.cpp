#include "app/xml/XmlDocument.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <unordered_map>

#include "app/xml/XmlEscape.h"
#include "quorl/core/Utf8.h"

namespace {

bool IsBlank(wchar_t c) {
    return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n';
}

bool IsNameDelimiter(wchar_t c) {
    return IsBlank(c) || c == L'/' || c == L'>' || c == L'<' || c == L'=' || c == L'"' ||
           c == L'\'';
}

bool IsNameStart(wchar_t c) {
    return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z') || c == L'_' || c == L':' ||
           c >= 0x80;
}

bool IsValidName(std::wstring_view name) {
    if (name.empty() || !IsNameStart(name[0])) {
        return false;
    }
    for (const wchar_t c : name) {
        if (IsNameDelimiter(c) || c == L'&' || c < 0x20) {
            return false;
        }
    }
    return true;
}

bool IsParseProblemFatal(std::wstring_view name) {
    return name != L"no_root_element" && name != L"root_has_sibling";
}

}  // namespace

XmlDocument::XmlDocument() {
    Parse();
}

void XmlDocument::ResetCursor() {
    parent_ = 0;
    current_ = 0;
    remembered_ = 0;
}

bool XmlDocument::SetDocumentText(const wchar_t* text) {
    return SetDocumentText(text != nullptr ? std::wstring_view(text) : std::wstring_view());
}

bool XmlDocument::SetDocumentText(std::wstring_view text) {
    report_.Clear();
    text_.assign(text);
    bom_ = XmlByteOrderMark::None;
    Parse();
    ResetCursor();
    return IsWellFormed();
}

bool XmlDocument::LoadFile(std::wstring_view path) {
    report_.Clear();
    text_.clear();
    bom_ = XmlByteOrderMark::None;
    ResetCursor();
    auto fail = [this] {
        text_.clear();
        Parse();
        return false;
    };

    FILE* file = std::fopen(Quorl::WideToUtf8(path).c_str(), "rb");
    if (file == nullptr) {
        report_.Add(L"file_error", {{L"msg", Quorl::Utf8ToWide(std::strerror(errno))}});
        return fail();
    }
    std::string bytes;
    char buffer[65536];
    bool tooLarge = false;
    size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) {
        if (bytes.size() + got > kMaxFileBytes) {
            tooLarge = true;
            break;
        }
        bytes.append(buffer, got);
    }
    const bool readError = std::ferror(file) != 0;
    const int readErrno = errno;
    std::fclose(file);
    if (readError) {
        report_.Add(L"file_error", {{L"msg", Quorl::Utf8ToWide(std::strerror(readErrno))}});
        return fail();
    }
    if (tooLarge) {
        report_.Add(L"truncation_error", {{L"length", std::to_wstring(kMaxFileBytes)}});
        return fail();
    }
    report_.Add(L"read", {{L"length", std::to_wstring(bytes.size())}});

    text_ = DecodeXmlBytes(bytes, bom_, report_);
    Parse();
    return IsWellFormed();
}

bool XmlDocument::SaveFile(std::wstring_view path) {
    const std::string bytes = EncodeXmlText(text_, bom_, report_);
    FILE* file = std::fopen(Quorl::WideToUtf8(path).c_str(), "wb");
    if (file == nullptr) {
        report_.Add(L"file_error", {{L"msg", Quorl::Utf8ToWide(std::strerror(errno))}});
        return false;
    }
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    const int writeErrno = errno;
    const bool closed = std::fclose(file) == 0;
    if (!written || !closed) {
        report_.Add(L"file_error", {{L"msg", Quorl::Utf8ToWide(std::strerror(writeErrno))}});
        return false;
    }
    report_.Add(L"write", {{L"length", std::to_wstring(bytes.size())}});
    return true;
}

// ---- parsing ----

void XmlDocument::Problem(std::wstring_view name, size_t offset, std::wstring_view tagName) {
    if (IsParseProblemFatal(name)) {
        elements_[0].flags |= kIllFormed;
    }
    if (tagName.empty()) {
        report_.Add(name, {{L"offset", std::to_wstring(offset)}});
    } else {
        report_.Add(name,
                    {{L"tagname", std::wstring(tagName)}, {L"offset", std::to_wstring(offset)}});
    }
}

uint32_t XmlDocument::AddElement(size_t start, uint32_t parent) {
    if (elements_.size() == elements_.capacity()) {
        elements_.reserve(elements_.capacity() + elements_.capacity() / 2 + 1);
    }
    Element element;
    element.start = start;
    element.parent = parent;
    elements_.push_back(element);
    return static_cast<uint32_t>(elements_.size() - 1);
}

void XmlDocument::LinkLastChild(uint32_t parent, uint32_t child) {
    Element& owner = elements_[parent];
    if (owner.lastChild == 0) {
        owner.firstChild = child;
    } else {
        elements_[owner.lastChild].nextSibling = child;
        elements_[child].previousSibling = owner.lastChild;
    }
    owner.lastChild = child;
}

void XmlDocument::LinkAfter(uint32_t previous, uint32_t element) {
    const uint32_t next = elements_[previous].nextSibling;
    elements_[element].previousSibling = previous;
    elements_[element].nextSibling = next;
    elements_[previous].nextSibling = element;
    if (next != 0) {
        elements_[next].previousSibling = element;
    } else {
        elements_[elements_[element].parent].lastChild = element;
    }
}

size_t XmlDocument::NameEnd(size_t from) const {
    while (from < text_.size() && !IsNameDelimiter(text_[from])) {
        ++from;
    }
    return from;
}

// The '>' that closes the tag whose name starts at from. Quotes count only where they open
// an attribute value. npos when the tag runs to the end of the text or into another '<'.
size_t XmlDocument::TagEnd(size_t from) const {
    wchar_t lastSignificant = 0;
    for (size_t i = from; i < text_.size(); ++i) {
        const wchar_t c = text_[i];
        if (c == L'>') {
            return i;
        }
        if (c == L'<') {
            return std::wstring::npos;
        }
        if ((c == L'"' || c == L'\'') && lastSignificant == L'=') {
            const size_t close = text_.find(c, i + 1);
            if (close == std::wstring::npos) {
                return std::wstring::npos;
            }
            i = close;
            lastSignificant = c;
            continue;
        }
        if (!IsBlank(c)) {
            lastSignificant = c;
        }
    }
    return std::wstring::npos;
}

bool XmlDocument::NameIs(uint32_t element, std::wstring_view name) const {
    const size_t start = elements_[element].start + 1;
    return text_.compare(start, name.size(), name) == 0 &&
           (start + name.size() >= text_.size() || IsNameDelimiter(text_[start + name.size()]));
}

void XmlDocument::Parse() {
    elements_.clear();
    elements_.reserve(text_.size() / 64 + 8);
    elements_.emplace_back();
    elements_[0].length = text_.size();

    const size_t n = text_.size();
    std::vector<uint32_t> open;
    std::unordered_map<std::wstring, size_t> openByName;  // makes lone end tags cheap to spot
    auto elementName = [this](uint32_t element) {
        const size_t start = elements_[element].start + 1;
        return text_.substr(start, NameEnd(start) - start);
    };
    auto closeTop = [&](size_t length, size_t endTagLength) {
        const uint32_t element = open.back();
        open.pop_back();
        elements_[element].length = length - elements_[element].start;
        elements_[element].endTagLength = endTagLength;
        auto it = openByName.find(elementName(element));
        if (it != openByName.end() && --it->second == 0) {
            openByName.erase(it);
        }
    };
    auto startsWith = [&](size_t at, std::wstring_view what) {
        return text_.compare(at, what.size(), what) == 0;
    };

    size_t i = 0;
    while ((i = text_.find(L'<', i)) != std::wstring::npos) {
        if (i + 1 >= n) {
            Problem(L"unterminated_tag_syntax", i);
            break;
        }
        const wchar_t c = text_[i + 1];
        if (c == L'?') {
            const size_t end = text_.find(L"?>", i + 2);
            if (end == std::wstring::npos) {
                Problem(L"unterminated_tag_syntax", i);
                break;
            }
            i = end + 2;
            continue;
        }
        if (c == L'!') {
            std::wstring_view closing = L">";
            if (startsWith(i + 2, L"--")) {
                closing = L"-->";
            } else if (startsWith(i + 2, L"[CDATA[")) {
                closing = L"]]>";
            } else if (startsWith(i + 2, L"-")) {
                Problem(L"comment_tag_syntax", i);
            } else if (startsWith(i + 2, L"[")) {
                Problem(L"cdata_section_syntax", i);
                closing = L"]]>";
            } else if (startsWith(i + 2, L"DOCTYPE")) {
                // The internal subset may hold '>' inside brackets.
                int depth = 0;
                size_t end = i + 9;
                for (; end < n; ++end) {
                    if (text_[end] == L'[') {
                        ++depth;
                    } else if (text_[end] == L']') {
                        --depth;
                    } else if (text_[end] == L'>' && depth <= 0) {
                        break;
                    }
                }
                if (end >= n) {
                    Problem(L"unterminated_tag_syntax", i);
                    break;
                }
                i = end + 1;
                continue;
            } else if (startsWith(i + 2, L"D") || startsWith(i + 2, L"d")) {
                Problem(L"doctype_tag_syntax", i);
            } else {
                Problem(L"exclamation_tag_syntax", i);
            }
            const size_t end = text_.find(closing, i + 2);
            if (end == std::wstring::npos) {
                Problem(L"unterminated_tag_syntax", i);
                break;
            }
            i = end + closing.size();
            continue;
        }
        if (c == L'/') {
            const size_t end = text_.find(L'>', i + 2);
            const size_t nextOpen = text_.find(L'<', i + 2);
            if (end == std::wstring::npos || nextOpen < end) {
                Problem(L"unterminated_tag_syntax", i);
                if (end == std::wstring::npos) {
                    break;
                }
                i = nextOpen;
                continue;
            }
            const std::wstring name = text_.substr(i + 2, NameEnd(i + 2) - (i + 2));
            if (name.empty() || openByName.find(name) == openByName.end()) {
                Problem(L"lone_end_tag", i, name);
            } else {
                while (!NameIs(open.back(), name)) {
                    Problem(L"unended_start_tag", elements_[open.back()].start,
                            elementName(open.back()));
                    closeTop(i, 0);
                }
                closeTop(end + 1, end + 1 - i);
            }
            i = end + 1;
            continue;
        }
        if (!IsNameStart(c)) {
            Problem(L"first_tag_syntax", i);
            ++i;
            continue;
        }
        const size_t end = TagEnd(i + 1);
        if (end == std::wstring::npos) {
            Problem(L"unterminated_tag_syntax", i);
            const size_t nextOpen = text_.find(L'<', i + 1);
            if (nextOpen == std::wstring::npos) {
                break;
            }
            i = nextOpen;
            continue;
        }
        const uint32_t parent = open.empty() ? 0 : open.back();
        const uint32_t element = AddElement(i, parent);
        LinkLastChild(parent, element);
        elements_[element].startTagLength = end + 1 - i;
        if (text_[end - 1] == L'/') {
            elements_[element].flags |= kEmptyElement;
            elements_[element].length = end + 1 - i;
        } else {
            open.push_back(element);
            ++openByName[elementName(element)];
        }
        i = end + 1;
    }
    while (!open.empty()) {
        Problem(L"unended_start_tag", elements_[open.back()].start, elementName(open.back()));
        closeTop(n, 0);
    }

    size_t topLevel = 0;
    for (uint32_t e = elements_[0].firstChild; e != 0; e = elements_[e].nextSibling) {
        ++topLevel;
    }
    if (topLevel == 0) {
        Problem(L"no_root_element", 0);
    } else if (topLevel > 1) {
        Problem(L"root_has_sibling",
                elements_[elements_[elements_[0].firstChild].nextSibling].start);
    }
}

bool XmlDocument::IsWellFormed() const {
    if ((elements_[0].flags & kIllFormed) != 0) {
        return false;
    }
    const uint32_t root = elements_[0].firstChild;
    return root != 0 && elements_[root].nextSibling == 0;
}

// ---- cursor ----

bool XmlDocument::FindElement(std::wstring_view name) {
    uint32_t e = current_ != 0 ? elements_[current_].nextSibling : elements_[parent_].firstChild;
    for (; e != 0; e = elements_[e].nextSibling) {
        if (NameIs(e, name)) {
            current_ = e;
            remembered_ = 0;
            return true;
        }
    }
    return false;
}

bool XmlDocument::EnterElement() {
    if (current_ == 0) {
        return false;
    }
    parent_ = current_;
    current_ = remembered_;
    remembered_ = 0;
    return true;
}

bool XmlDocument::LeaveElement() {
    if (parent_ == 0) {
        return false;
    }
    remembered_ = current_;
    current_ = parent_;
    parent_ = elements_[parent_].parent;
    return true;
}

std::wstring XmlDocument::CurrentElementName() const {
    if (current_ == 0) {
        return {};
    }
    const size_t start = elements_[current_].start + 1;
    return text_.substr(start, NameEnd(start) - start);
}

XmlDocument::AttributeSpan XmlDocument::FindAttribute(uint32_t element,
                                                      std::wstring_view name) const {
    const Element& e = elements_[element];
    const size_t limit = e.start + e.startTagLength - 1;  // the closing '>'
    size_t i = NameEnd(e.start + 1);
    while (i < limit) {
        while (i < limit && IsBlank(text_[i])) {
            ++i;
        }
        const size_t nameStart = i;
        i = NameEnd(i);
        if (i > limit) {
            i = limit;
        }
        if (i == nameStart) {
            ++i;  // a stray '/', quote or '='
            continue;
        }
        AttributeSpan span;
        span.nameEnd = i;
        size_t k = i;
        while (k < limit && IsBlank(text_[k])) {
            ++k;
        }
        if (k < limit && text_[k] == L'=') {
            ++k;
            while (k < limit && IsBlank(text_[k])) {
                ++k;
            }
            if (k < limit && (text_[k] == L'"' || text_[k] == L'\'')) {
                const size_t close = text_.find(text_[k], k + 1);
                span.quoted = true;
                span.valueStart = k + 1;
                span.valueEnd = close == std::wstring::npos || close > limit ? limit : close;
                i = span.valueEnd + 1;
            } else {
                span.valueStart = k;
                while (k < limit && !IsBlank(text_[k]) && !(text_[k] == L'/' && k + 1 == limit)) {
                    ++k;
                }
                span.valueEnd = k;
                i = k;
            }
        } else {
            span.valueStart = span.valueEnd = span.nameEnd;
        }
        if (text_.compare(nameStart, span.nameEnd - nameStart, name) == 0 &&
            span.nameEnd - nameStart == name.size()) {
            span.found = true;
            return span;
        }
    }
    return {};
}

std::wstring XmlDocument::ReadAttribute(std::wstring_view name) const {
    if (current_ == 0 || name.empty()) {
        return {};
    }
    const AttributeSpan span = FindAttribute(current_, name);
    if (!span.found) {
        return {};
    }
    return DecodeXmlAttribute(
        std::wstring_view(text_).substr(span.valueStart, span.valueEnd - span.valueStart));
}

// ---- writing ----

void XmlDocument::ReserveText(size_t needed) {
    if (needed > text_.capacity()) {
        text_.reserve(needed + needed / 2 + 128);
    }
}

void XmlDocument::Splice(size_t position, size_t removed, std::wstring_view inserted) {
    ReserveText(text_.size() - removed + inserted.size());
    text_.replace(position, removed, inserted);
    const auto delta =
        static_cast<std::ptrdiff_t>(inserted.size()) - static_cast<std::ptrdiff_t>(removed);
    for (size_t k = 1; k < elements_.size(); ++k) {
        Element& e = elements_[k];
        if (e.start >= position) {
            e.start += delta;
        } else if (e.start + e.length > position) {
            e.length += delta;
        }
    }
    elements_[0].length = text_.size();
}

// An element left unended extends only to where parsing closed it; make sure the elements
// above a new child cover it.
void XmlDocument::CoverInAncestors(uint32_t element) {
    const size_t end = elements_[element].start + elements_[element].length;
    for (uint32_t a = elements_[element].parent; a != 0; a = elements_[a].parent) {
        if (elements_[a].start + elements_[a].length < end) {
            elements_[a].length = end - elements_[a].start;
        }
    }
}

bool XmlDocument::AppendElement(std::wstring_view name) {
    if (!IsValidName(name)) {
        return false;
    }
    const std::wstring tag = L"<" + std::wstring(name) + L"/>\r\n";
    uint32_t element;
    if (current_ != 0) {
        size_t position = elements_[current_].start + elements_[current_].length;
        size_t next = position;
        while (next < text_.size() && IsBlank(text_[next])) {
            ++next;
        }
        if (next >= text_.size() || text_[next] == L'<') {
            position = next;
        }
        Splice(position, 0, tag);
        element = AddElement(position, parent_);
        LinkAfter(current_, element);
    } else if (parent_ == 0) {
        const size_t position = text_.size();
        Splice(position, 0, tag);
        element = AddElement(position, 0);
        LinkLastChild(0, element);
    } else if ((elements_[parent_].flags & kEmptyElement) != 0) {
        // <parent .../> becomes <parent ...>, CR LF, the child, </parent>.
        const Element& parent = elements_[parent_];
        const size_t slash = parent.start + parent.startTagLength - 2;
        const size_t nameStart = parent.start + 1;
        const std::wstring parentName = text_.substr(nameStart, NameEnd(nameStart) - nameStart);
        Splice(slash, 2, L">\r\n" + tag + L"</" + parentName + L">");
        Element& rewritten = elements_[parent_];
        rewritten.startTagLength -= 1;
        rewritten.endTagLength = parentName.size() + 3;
        rewritten.flags &= ~kEmptyElement;
        element = AddElement(slash + 3, parent_);
        LinkLastChild(parent_, element);
    } else {
        const Element& parent = elements_[parent_];
        const size_t position = parent.start + parent.length - parent.endTagLength;
        Splice(position, 0, tag);
        element = AddElement(position, parent_);
        LinkLastChild(parent_, element);
    }
    Element& added = elements_[element];
    added.length = name.size() + 3;
    added.startTagLength = added.length;
    added.flags = kEmptyElement;
    CoverInAncestors(element);
    current_ = element;
    remembered_ = 0;
    return true;
}

bool XmlDocument::WriteAttribute(std::wstring_view name, std::wstring_view value) {
    if (current_ == 0 || !IsValidName(name)) {
        return false;
    }
    const std::wstring escaped = EscapeXmlAttribute(value);
    const AttributeSpan span = FindAttribute(current_, name);
    const size_t before = text_.size();
    if (span.found && span.quoted) {
        Splice(span.valueStart, span.valueEnd - span.valueStart, escaped);
    } else if (span.found) {
        Splice(span.nameEnd, span.valueEnd - span.nameEnd, L"=\"" + escaped + L"\"");
    } else {
        const Element& e = elements_[current_];
        size_t close = e.start + e.startTagLength - ((e.flags & kEmptyElement) != 0 ? 2 : 1);
        const size_t nameEnd = NameEnd(e.start + 1);
        while (close > nameEnd && IsBlank(text_[close - 1])) {
            --close;
        }
        Splice(close, 0, L" " + std::wstring(name) + L"=\"" + escaped + L"\"");
    }
    elements_[current_].startTagLength += text_.size() - before;
    return true;
}
