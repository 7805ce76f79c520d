#pragma once

#include <string>
#include <string_view>

namespace Quorl {

// Texts live in memory as wide strings (one wchar_t per code point on Linux) and cross into
// files, the database and the platform as UTF-8.

// Invalid or unpaired code points become U+FFFD.
std::string WideToUtf8(std::wstring_view text);

// Malformed sequences (bad lead bytes, truncated or overlong forms, surrogates, values above
// U+10FFFF) become U+FFFD, one per offending byte; reading never runs past the end.
std::wstring Utf8ToWide(std::string_view text);

// Whether the bytes are well-formed UTF-8.
bool IsValidUtf8(std::string_view text);

}  // namespace Quorl
