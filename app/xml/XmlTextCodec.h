#pragma once

#include <string>
#include <string_view>

#include "app/xml/XmlReport.h"

// How the bytes of an XML file become the document text and back.

enum class XmlByteOrderMark { None, Utf8, Utf16LE, Utf16BE };

// The 8-bit code page a Windows computer of the current interface language would write:
// "WINDOWS-1251" for Russian, "WINDOWS-1252" otherwise.
std::string SystemAnsiEncoding();

// The encoding a text names for itself: the encoding of its XML declaration or, for HTML, the
// charset of a meta element. Empty when it names none. Only the head of a file is examined.
std::string DeclaredEncoding(std::string_view head);

// Decodes a whole file: byte-order mark, else declared encoding, else UTF-8 when the file
// starts with '<', else UTF-8 when valid, else the ANSI code page. NUL units are dropped.
// Characters that cannot be decoded become U+FFFD. bom receives the mark found.
std::wstring DecodeXmlBytes(std::string_view bytes, XmlByteOrderMark& bom, XmlReport& report);

// Encodes the document text for saving: with the given mark (written first) in its encoding,
// without one in the encoding declared by the text, else UTF-8. Characters the encoding
// cannot hold become '?' (U+FFFD in the Unicode forms) and are counted in the report.
std::string EncodeXmlText(std::wstring_view text, XmlByteOrderMark bom, XmlReport& report);

// 8-bit text in the named encoding to wide text and back, through iconv; false when iconv does
// not know the encoding. lost counts the characters replaced.
bool DecodeWithIconv(std::string_view bytes, const std::string& encoding, std::wstring& text,
                     size_t& lost);
bool EncodeWithIconv(std::wstring_view text, const std::string& encoding, std::string& bytes,
                     size_t& lost);
