#include "app/pages/XmlFileFields.h"

#include <cwctype>
#include <filesystem>

#include "app/pages/ConfigValues.h"
#include "app/xml/XmlDocument.h"
#include "quorl/core/Utf8.h"

std::wstring WithXmlExtension(std::wstring_view path) {
    std::wstring result(path);
    constexpr std::wstring_view kExtension = L".xml";
    bool ends = result.size() >= kExtension.size();
    for (size_t i = 0; ends && i < kExtension.size(); ++i) {
        ends = static_cast<wchar_t>(std::towlower(result[result.size() - kExtension.size() + i])) ==
               kExtension[i];
    }
    if (!ends) {
        result += kExtension;
    }
    return result;
}

bool XmlFileExists(std::wstring_view path) {
    std::error_code ignored;
    return std::filesystem::is_regular_file(std::filesystem::path(Quorl::WideToUtf8(path)),
                                            ignored);
}

int AttributeReader::Number(std::wstring_view name, int low, int high,
                            std::optional<int> whenMissing) {
    if (!Ok()) {
        return low;
    }
    const std::wstring text = document_.ReadAttribute(name);
    const std::wstring where = context_.empty() ? std::wstring() : context_ + L": ";
    if (text.empty()) {
        if (!whenMissing || *whenMissing < low || *whenMissing > high) {
            Fail(where + L"\"" + std::wstring(name) + L"\" is missing");
            return low;
        }
        return *whenMissing;
    }
    const std::optional<int> number = ParseDecimal(text);
    if (!number) {
        Fail(where + L"\"" + std::wstring(name) + L"\" is not a number");
        return low;
    }
    if (*number < low || *number > high) {
        Fail(where + L"\"" + std::wstring(name) + L"\" must be " + std::to_wstring(low) + L"-" +
             std::to_wstring(high));
        return low;
    }
    return *number;
}

std::wstring AttributeReader::Text(std::wstring_view name) const {
    return document_.ReadAttribute(name);
}

void AttributeReader::Fail(std::wstring problem) {
    if (problem_.empty()) {
        problem_ = std::move(problem);
    }
}
