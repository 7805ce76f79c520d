#pragma once

#include <cstdint>
#include <string_view>

// Numbers as the description files write them: optional leading blanks and sign, then digits
// up to the first other character. Empty or non-numeric text reads as 0; values beyond the
// range are clamped.
int32_t ParseDecimalAttribute(std::wstring_view text);
// The same with hexadecimal digits and an optional "0x" prefix ("3434" equals "0x3434").
uint32_t ParseHexAttribute(std::wstring_view text);
