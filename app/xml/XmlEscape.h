#pragma once

#include <string>
#include <string_view>

// Attribute values as they stand between the double quotes of a tag.

// "<", "&", ">", "'" and the double quote become their five named references.
std::wstring EscapeXmlAttribute(std::wstring_view value);

// The five named references and decimal or hexadecimal numeric references ("&#65;",
// "&#x41;") become their characters; an ampersand that begins no recognised reference stays
// as text, and so does a numeric reference to a code point no text may hold (0, surrogates,
// values above U+10FFFF).
std::wstring DecodeXmlAttribute(std::wstring_view value);
