#include "app/xml/XmlReport.h"

#include "app/xml/XmlEscape.h"

namespace {
constexpr size_t kReportLimit = 999;
}

void XmlReport::Add(std::wstring_view entry, std::initializer_list<Attribute> attributes) {
    if (text_.size() > kReportLimit) {
        return;
    }
    text_ += L'<';
    text_ += entry;
    for (const Attribute& attribute : attributes) {
        text_ += L' ';
        text_ += attribute.first;
        text_ += L"=\"";
        text_ += EscapeXmlAttribute(attribute.second);
        text_ += L'"';
    }
    text_ += L"/>";
}
