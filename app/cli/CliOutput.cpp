#include "app/cli/CliOutput.h"

void CliOutput::Result(const JsonValue& json, const std::vector<std::string>& text) {
    std::lock_guard guard(lock_);
    if (json_) {
        std::fprintf(out_, "%s\n", json.Dump().c_str());
    } else {
        for (const std::string& line : text) {
            std::fprintf(out_, "%s\n", line.c_str());
        }
    }
    std::fflush(out_);
}

void CliOutput::Line(const std::string& text) {
    std::lock_guard guard(lock_);
    std::fprintf(out_, "%s\n", text.c_str());
    std::fflush(out_);
}

void CliOutput::Error(const std::string& message) {
    std::lock_guard guard(lock_);
    std::fprintf(err_, "talvane-cli: %s\n", message.c_str());
    std::fflush(err_);
    if (json_) {
        std::fprintf(out_, "%s\n",
                     JsonValue::MakeObject().Set("error", JsonValue(message)).Dump().c_str());
        std::fflush(out_);
    }
}
