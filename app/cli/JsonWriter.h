#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <variant>
#include <vector>

// A small JSON value for the command line's machine-readable output: objects keep the order
// their members were added in.
class JsonValue {
public:
    using Object = std::vector<std::pair<std::string, JsonValue>>;
    using Array = std::vector<JsonValue>;

    JsonValue() : value_(nullptr) {}
    JsonValue(bool b) : value_(b) {}
    JsonValue(int n) : value_(static_cast<int64_t>(n)) {}
    JsonValue(int64_t n) : value_(n) {}
    JsonValue(const char* s) : value_(std::string(s)) {}
    JsonValue(std::string s) : value_(std::move(s)) {}
    JsonValue(const std::wstring& s);
    JsonValue(Object o) : value_(std::move(o)) {}
    JsonValue(Array a) : value_(std::move(a)) {}

    static JsonValue MakeObject() { return JsonValue(Object{}); }
    static JsonValue MakeArray() { return JsonValue(Array{}); }

    // For an object: appends a member. For an array: appends an element (name ignored).
    JsonValue& Set(std::string name, JsonValue value);
    JsonValue& Append(JsonValue value);
    bool IsObject() const { return std::holds_alternative<Object>(value_); }

    // One line, UTF-8, control characters escaped.
    std::string Dump() const;

private:
    std::variant<std::nullptr_t, bool, int64_t, std::string, Object, Array> value_;
};

std::string JsonQuote(const std::string& utf8);
