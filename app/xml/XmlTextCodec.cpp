#include "app/xml/XmlTextCodec.h"

#include <iconv.h>

#include <cerrno>
#include <cstdint>

#include "app/lang/LanguageId.h"
#include "quorl/core/Utf8.h"

namespace {

constexpr size_t kHeadBytes = 1024;
constexpr wchar_t kReplacement = 0xFFFD;

char AsciiUpper(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

// "utf-8", "UTF8" and "utf_8" all give "UTF8".
std::string NormalisedName(std::string_view encoding) {
    std::string name;
    for (const char c : encoding) {
        if (c != '-' && c != '_' && c != ' ') {
            name += AsciiUpper(c);
        }
    }
    return name;
}

bool IsUtf8Name(std::string_view encoding) {
    return NormalisedName(encoding) == "UTF8";
}

// Encodings of 16 or 32 bits cannot be the truth of a head that was readable byte by byte.
bool IsWideName(std::string_view encoding) {
    const std::string name = NormalisedName(encoding);
    return name.starts_with("UTF16") || name.starts_with("UTF32") || name.starts_with("UCS");
}

std::wstring Ascii(std::string_view text) {
    return std::wstring(text.begin(), text.end());
}

size_t FindCaseless(std::string_view text, std::string_view what, size_t from) {
    if (what.size() > text.size()) {
        return std::string_view::npos;
    }
    for (size_t i = from; i + what.size() <= text.size(); ++i) {
        size_t k = 0;
        while (k < what.size() && AsciiUpper(text[i + k]) == AsciiUpper(what[k])) {
            ++k;
        }
        if (k == what.size()) {
            return i;
        }
    }
    return std::string_view::npos;
}

bool IsNameChar(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
           c == '_' || c == '.' || c == ':';
}

// The value after "key", "=" and an optional quote, up to the first character that cannot
// belong to an encoding name.
std::string ValueAfter(std::string_view tag, size_t keyEnd) {
    size_t i = keyEnd;
    while (i < tag.size() &&
           (tag[i] == ' ' || tag[i] == '\t' || tag[i] == '\r' || tag[i] == '\n')) {
        ++i;
    }
    if (i >= tag.size() || tag[i] != '=') {
        return {};
    }
    ++i;
    while (i < tag.size() && (tag[i] == ' ' || tag[i] == '\t' || tag[i] == '"' || tag[i] == '\'')) {
        ++i;
    }
    const size_t start = i;
    while (i < tag.size() && IsNameChar(tag[i])) {
        ++i;
    }
    return std::string(tag.substr(start, i - start));
}

void AppendUtf32(std::string& bytes, uint32_t codePoint) {
    for (int shift = 0; shift < 32; shift += 8) {
        bytes += static_cast<char>((codePoint >> shift) & 0xFF);
    }
}

bool IsValidCodePoint(wchar_t c) {
    const auto value = static_cast<uint32_t>(c);
    return value <= 0x10FFFF && (value < 0xD800 || value > 0xDFFF);
}

class Iconv {
public:
    Iconv(const char* to, const char* from) : handle_(iconv_open(to, from)) {}
    ~Iconv() {
        if (ok()) {
            iconv_close(handle_);
        }
    }
    Iconv(const Iconv&) = delete;
    Iconv& operator=(const Iconv&) = delete;
    bool ok() const { return handle_ != reinterpret_cast<iconv_t>(-1); }

    // Converts all of input; an unconvertible unit of unitSize bytes is skipped and replaced
    // by the replacement bytes.
    std::string Convert(std::string_view input, size_t unitSize, std::string_view replacement,
                        size_t& lost) {
        std::string out(input.size() * 4 + 16, '\0');
        char* in = const_cast<char*>(input.data());
        size_t inLeft = input.size();
        size_t used = 0;
        auto room = [&](size_t needed) {
            if (out.size() - used < needed) {
                out.resize(out.size() * 2 + needed);
            }
        };
        while (true) {
            char* o = out.data() + used;
            size_t outLeft = out.size() - used;
            const size_t result = iconv(handle_, inLeft > 0 ? &in : nullptr, &inLeft, &o, &outLeft);
            used = static_cast<size_t>(o - out.data());
            if (result != static_cast<size_t>(-1)) {
                if (inLeft == 0) {
                    break;
                }
                continue;
            }
            if (errno == E2BIG) {
                room(out.size());
                continue;
            }
            // An invalid or incomplete sequence: replace one unit and go on.
            const size_t skip = inLeft < unitSize ? inLeft : unitSize;
            in += skip;
            inLeft -= skip;
            ++lost;
            room(replacement.size());
            out.replace(used, replacement.size(), replacement);
            used += replacement.size();
            if (inLeft == 0) {
                break;
            }
        }
        out.resize(used);
        return out;
    }

private:
    iconv_t handle_;
};

std::wstring DecodeUtf16(std::string_view body, bool bigEndian, size_t& nulls, size_t& lost) {
    std::wstring text;
    text.reserve(body.size() / 2);
    const size_t units = body.size() / 2;
    auto unitAt = [&](size_t i) -> uint32_t {
        const auto first = static_cast<unsigned char>(body[2 * i]);
        const auto second = static_cast<unsigned char>(body[2 * i + 1]);
        return bigEndian ? (first << 8 | second) : (second << 8 | first);
    };
    for (size_t i = 0; i < units; ++i) {
        const uint32_t unit = unitAt(i);
        if (unit == 0) {
            ++nulls;
        } else if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < units && unitAt(i + 1) >= 0xDC00 &&
                   unitAt(i + 1) <= 0xDFFF) {
            const uint32_t low = unitAt(++i);
            text += static_cast<wchar_t>(0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00));
        } else if (unit >= 0xD800 && unit <= 0xDFFF) {
            text += kReplacement;
            ++lost;
        } else {
            text += static_cast<wchar_t>(unit);
        }
    }
    return text;
}

std::string EncodeUtf16(std::wstring_view text, bool bigEndian, size_t& lost) {
    std::string bytes;
    bytes.reserve(text.size() * 2);
    auto put = [&](uint32_t unit) {
        const char high = static_cast<char>(unit >> 8);
        const char low = static_cast<char>(unit & 0xFF);
        bytes += bigEndian ? high : low;
        bytes += bigEndian ? low : high;
    };
    for (const wchar_t c : text) {
        uint32_t value = static_cast<uint32_t>(c);
        if (!IsValidCodePoint(c)) {
            value = kReplacement;
            ++lost;
        }
        if (value >= 0x10000) {
            value -= 0x10000;
            put(0xD800 + (value >> 10));
            put(0xDC00 + (value & 0x3FF));
        } else {
            put(value);
        }
    }
    return bytes;
}

std::string EncodeUtf8(std::wstring_view text, size_t& lost) {
    for (const wchar_t c : text) {
        if (!IsValidCodePoint(c)) {
            ++lost;
        }
    }
    return Quorl::WideToUtf8(text);
}

}  // namespace

std::string SystemAnsiEncoding() {
    return CurrentLanguageId() == kLanguageRussian ? "WINDOWS-1251" : "WINDOWS-1252";
}

std::string DeclaredEncoding(std::string_view head) {
    head = head.substr(0, kHeadBytes);
    size_t declaration = head.find("<?xml");
    while (declaration != std::string_view::npos && declaration + 5 < head.size() &&
           !(head[declaration + 5] == ' ' || head[declaration + 5] == '\t' ||
             head[declaration + 5] == '\r' || head[declaration + 5] == '\n')) {
        declaration = head.find("<?xml", declaration + 5);  // "<?xml-stylesheet" and the like
    }
    if (declaration != std::string_view::npos) {
        const size_t end = head.find("?>", declaration);
        const std::string_view tag =
            head.substr(declaration,
                        end == std::string_view::npos ? std::string_view::npos : end - declaration);
        const size_t key = tag.find("encoding");
        if (key != std::string_view::npos) {
            return ValueAfter(tag, key + 8);
        }
        return {};
    }
    // HTML: <meta charset="x"> or <meta http-equiv="Content-Type" content="text/html; charset=x">
    size_t meta = FindCaseless(head, "<meta", 0);
    while (meta != std::string_view::npos) {
        const size_t end = head.find('>', meta);
        const std::string_view tag =
            head.substr(meta, end == std::string_view::npos ? std::string_view::npos : end - meta);
        const size_t key = FindCaseless(tag, "charset", 0);
        if (key != std::string_view::npos) {
            std::string value = ValueAfter(tag, key + 7);
            if (!value.empty()) {
                return value;
            }
        }
        if (end == std::string_view::npos) {
            break;
        }
        meta = FindCaseless(head, "<meta", end);
    }
    return {};
}

bool DecodeWithIconv(std::string_view bytes, const std::string& encoding, std::wstring& text,
                     size_t& lost) {
    Iconv converter("UTF-32LE", encoding.c_str());
    if (!converter.ok()) {
        return false;
    }
    static constexpr char kReplacementUtf32[] = {'\xFD', '\xFF', '\0', '\0'};
    const std::string wide =
        converter.Convert(bytes, 1, std::string_view(kReplacementUtf32, 4), lost);
    text.clear();
    text.reserve(wide.size() / 4);
    for (size_t i = 0; i + 3 < wide.size(); i += 4) {
        const uint32_t value = static_cast<unsigned char>(wide[i]) |
                               static_cast<unsigned char>(wide[i + 1]) << 8 |
                               static_cast<unsigned char>(wide[i + 2]) << 16 |
                               static_cast<uint32_t>(static_cast<unsigned char>(wide[i + 3])) << 24;
        text += static_cast<wchar_t>(value);
    }
    return true;
}

bool EncodeWithIconv(std::wstring_view text, const std::string& encoding, std::string& bytes,
                     size_t& lost) {
    Iconv converter(encoding.c_str(), "UTF-32LE");
    if (!converter.ok()) {
        return false;
    }
    std::string wide;
    wide.reserve(text.size() * 4);
    for (const wchar_t c : text) {
        if (IsValidCodePoint(c)) {
            AppendUtf32(wide, static_cast<uint32_t>(c));
        } else {
            AppendUtf32(wide, '?');
            ++lost;
        }
    }
    bytes = converter.Convert(wide, 4, "?", lost);
    return true;
}

std::wstring DecodeXmlBytes(std::string_view bytes, XmlByteOrderMark& bom, XmlReport& report) {
    bom = XmlByteOrderMark::None;
    std::string_view body = bytes;
    if (body.starts_with("\xEF\xBB\xBF")) {
        bom = XmlByteOrderMark::Utf8;
        body.remove_prefix(3);
        report.Add(L"bom", {{L"type", L"UTF-8"}});
    } else if (body.starts_with("\xFF\xFE")) {
        bom = XmlByteOrderMark::Utf16LE;
        body.remove_prefix(2);
        report.Add(L"bom", {{L"type", L"UTF-16LE"}});
    } else if (body.starts_with("\xFE\xFF")) {
        bom = XmlByteOrderMark::Utf16BE;
        body.remove_prefix(2);
        report.Add(L"bom", {{L"type", L"UTF-16BE"}});
    }

    size_t nulls = 0;
    size_t lost = 0;
    std::wstring text;
    if (bom == XmlByteOrderMark::Utf16LE || bom == XmlByteOrderMark::Utf16BE) {
        const bool bigEndian = bom == XmlByteOrderMark::Utf16BE;
        if (bigEndian) {
            report.Add(L"endian_swap");
        }
        if (body.size() % 2 != 0) {
            report.Add(L"truncation_error", {{L"offset", std::to_wstring(body.size() - 1)}});
        }
        text = DecodeUtf16(body, bigEndian, nulls, lost);
    } else {
        std::string encoding = bom == XmlByteOrderMark::Utf8 ? "UTF-8" : DeclaredEncoding(body);
        if (IsWideName(encoding)) {
            encoding.clear();
        }
        if (encoding.empty() && !body.empty() && body[0] == '<') {
            encoding = "UTF-8";
        }
        if (encoding.empty()) {
            if (Quorl::IsValidUtf8(body)) {
                encoding = "UTF-8";
                report.Add(L"utf8_detection");
            } else {
                encoding = SystemAnsiEncoding();
            }
        }
        std::string clean;
        clean.reserve(body.size());
        for (const char c : body) {
            if (c == '\0') {
                ++nulls;
            } else {
                clean += c;
            }
        }
        if (IsUtf8Name(encoding) || !DecodeWithIconv(clean, encoding, text, lost)) {
            if (!IsUtf8Name(encoding)) {
                report.Add(L"converted_from",
                           {{L"encoding", Ascii(encoding)}, {L"msg", L"unknown"}});
            }
            text = Quorl::Utf8ToWide(clean);
        } else {
            report.Add(L"converted_from", {{L"encoding", Ascii(encoding)}});
        }
    }
    if (nulls > 0) {
        report.Add(L"nulls_removed", {{L"count", std::to_wstring(nulls)}});
    }
    if (lost > 0) {
        report.Add(L"conversion_loss", {{L"count", std::to_wstring(lost)}});
    }
    return text;
}

std::string EncodeXmlText(std::wstring_view text, XmlByteOrderMark bom, XmlReport& report) {
    size_t lost = 0;
    std::string bytes;
    switch (bom) {
        case XmlByteOrderMark::Utf8:
            bytes = "\xEF\xBB\xBF" + EncodeUtf8(text, lost);
            break;
        case XmlByteOrderMark::Utf16LE:
            bytes = "\xFF\xFE" + EncodeUtf16(text, false, lost);
            break;
        case XmlByteOrderMark::Utf16BE:
            bytes = "\xFE\xFF" + EncodeUtf16(text, true, lost);
            break;
        case XmlByteOrderMark::None: {
            const std::string declared =
                DeclaredEncoding(Quorl::WideToUtf8(text.substr(0, kHeadBytes)));
            if (declared.empty() || IsUtf8Name(declared)) {
                bytes = EncodeUtf8(text, lost);
            } else if (IsWideName(declared)) {
                // Without its mark a 16-bit file would not read back; give it one.
                bytes = "\xFF\xFE" + EncodeUtf16(text, false, lost);
                report.Add(L"converted_to", {{L"encoding", L"UTF-16LE"}});
            } else if (EncodeWithIconv(text, declared, bytes, lost)) {
                report.Add(L"converted_to", {{L"encoding", Ascii(declared)}});
            } else {
                report.Add(L"converted_to", {{L"encoding", L"UTF-8"}, {L"msg", Ascii(declared)}});
                bytes = EncodeUtf8(text, lost);
            }
            break;
        }
    }
    if (lost > 0) {
        report.Add(L"conversion_loss", {{L"count", std::to_wstring(lost)}});
    }
    return bytes;
}
