#include "app/cli/JsonWriter.h"

#include <cstdio>

#include "quorl/core/Utf8.h"

JsonValue::JsonValue(const std::wstring& s) : value_(Quorl::WideToUtf8(s)) {}

JsonValue& JsonValue::Set(std::string name, JsonValue value) {
    if (auto* object = std::get_if<Object>(&value_)) {
        object->emplace_back(std::move(name), std::move(value));
    }
    return *this;
}

JsonValue& JsonValue::Append(JsonValue value) {
    if (auto* array = std::get_if<Array>(&value_)) {
        array->push_back(std::move(value));
    }
    return *this;
}

std::string JsonQuote(const std::string& utf8) {
    std::string out = "\"";
    for (unsigned char c : utf8) {
        switch (c) {
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\t':
                out += "\\t";
                break;
            case '\r':
                out += "\\r";
                break;
            default:
                if (c < 0x20) {
                    char escaped[8];
                    std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
                    out += escaped;
                } else {
                    out += static_cast<char>(c);
                }
        }
    }
    return out + "\"";
}

std::string JsonValue::Dump() const {
    struct Visitor {
        std::string operator()(std::nullptr_t) const { return "null"; }
        std::string operator()(bool b) const { return b ? "true" : "false"; }
        std::string operator()(int64_t n) const { return std::to_string(n); }
        std::string operator()(const std::string& s) const { return JsonQuote(s); }
        std::string operator()(const Object& o) const {
            std::string out = "{";
            for (size_t i = 0; i < o.size(); ++i) {
                out += (i ? "," : "") + JsonQuote(o[i].first) + ":" + o[i].second.Dump();
            }
            return out + "}";
        }
        std::string operator()(const Array& a) const {
            std::string out = "[";
            for (size_t i = 0; i < a.size(); ++i) {
                out += (i ? "," : "") + a[i].Dump();
            }
            return out + "]";
        }
    };
    return std::visit(Visitor{}, value_);
}
