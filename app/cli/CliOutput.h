#pragma once

#include <cstdio>
#include <mutex>
#include <string>
#include <vector>

#include "app/cli/JsonWriter.h"

// Where talvane-cli's results go: lines of text, or with --json one JSON value per result.
// Errors go to standard error as one line; with --json an object {"error": ...} also goes to
// standard output, so a script reading it sees the failure. Safe from the worker thread.
class CliOutput {
public:
    CliOutput(bool json, std::FILE* out = stdout, std::FILE* err = stderr)
        : json_(json), out_(out), err_(err) {}

    bool Json() const { return json_; }
    // Prints the text lines or the JSON value, whichever the mode asks for.
    void Result(const JsonValue& json, const std::vector<std::string>& text);
    void Line(const std::string& text);
    void Error(const std::string& message);

private:
    bool json_;
    std::FILE* out_;
    std::FILE* err_;
    std::mutex lock_;
};
