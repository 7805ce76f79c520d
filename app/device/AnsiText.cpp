#include "app/device/AnsiText.h"

#include <iconv.h>

#include <cerrno>

#include <vector>

namespace {
const char* CodePage(int languageId) {
    return languageId == 1049 ? "CP1251" : "CP1252";
}

std::string Convert(const char* to, const char* from, const char* data, size_t size) {
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        return {};
    }
    std::string out;
    std::vector<char> chunk(256);
    char* in = const_cast<char*>(data);
    size_t inLeft = size;
    while (inLeft > 0) {
        char* outPtr = chunk.data();
        size_t outLeft = chunk.size();
        size_t r = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
        out.append(chunk.data(), chunk.size() - outLeft);
        if (r == static_cast<size_t>(-1) && errno != E2BIG) {
            // A character the code page lacks: skip one input unit and go on.
            size_t unit = std::string_view(from) == "WCHAR_T" ? sizeof(wchar_t) : 1;
            if (inLeft < unit) {
                break;
            }
            in += unit;
            inLeft -= unit;
            if (std::string_view(to) != "WCHAR_T") {
                out.push_back('?');
            }
        }
    }
    iconv_close(cd);
    return out;
}
}  // namespace

std::wstring AnsiToWide(std::string_view bytes, int languageId) {
    std::string raw = Convert("WCHAR_T", CodePage(languageId), bytes.data(), bytes.size());
    return std::wstring(reinterpret_cast<const wchar_t*>(raw.data()), raw.size() / sizeof(wchar_t));
}

std::string WideToAnsi(std::wstring_view text, int languageId) {
    return Convert(CodePage(languageId), "WCHAR_T", reinterpret_cast<const char*>(text.data()),
                   text.size() * sizeof(wchar_t));
}
