#include "app/device/MacroFlash.h"

#include <filesystem>

#include "app/startup/IniFile.h"
#include "app/startup/Paths.h"
#include "quorl/core/Utf8.h"

namespace {
constexpr char kSignature[4] = {'F', 'F', 'O', 'T'};

// Unsigned arithmetic, so a huge stored position wraps instead of overflowing.
int32_t Add(int32_t position, int64_t amount) {
    return static_cast<int32_t>(static_cast<uint32_t>(position) + static_cast<uint32_t>(amount));
}
}  // namespace

std::string MacroFlash::DefaultPath() {
    return Quorl::WideToUtf8(GetDataFolder()) + "macro_flash.dat";
}

MacroFlash::MacroFlash(std::string path) : path_(std::move(path)) {}

void MacroFlash::Load() {
    std::error_code ec;
    bool exists = std::filesystem::exists(path_, ec);
    std::lock_guard guard(lock_);
    if (!ec && !exists) {
        position_ = 0;
        return;
    }
    std::string contents;
    if (!std::filesystem::is_regular_file(path_, ec) || !ReadWholeFile(path_, contents)) {
        return;
    }
    if (contents.size() < 8 || contents.compare(0, 4, kSignature, 4) != 0) {
        position_ = 0;
        return;
    }
    uint32_t v = 0;
    for (int i = 0; i < 4; ++i) {
        v |= static_cast<uint32_t>(static_cast<uint8_t>(contents[4 + i])) << (8 * i);
    }
    position_ = static_cast<int32_t>(v);
}

int32_t MacroFlash::Position() const {
    std::lock_guard guard(lock_);
    return position_;
}

void MacroFlash::SetPosition(int32_t position) {
    std::lock_guard guard(lock_);
    position_ = position;
    SaveLocked();
}

bool MacroFlash::SaveLocked() const {
    std::filesystem::path folder = std::filesystem::path(path_).parent_path();
    if (!folder.empty()) {
        std::error_code ec;
        std::filesystem::create_directories(folder, ec);
    }
    std::string contents(kSignature, 4);
    uint32_t v = static_cast<uint32_t>(position_);
    for (int i = 0; i < 4; ++i) {
        contents.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
    }
    return WriteFileAtomically(path_, contents);
}

void MacroFlash::Reset() {
    std::lock_guard guard(lock_);
    position_ = 0;
    pendingButton_ = -1;
    pendingLength_ = 0;
    SaveLocked();
}

void MacroFlash::SetPending(int button, int length, int64_t now) {
    std::lock_guard guard(lock_);
    pendingButton_ = button;
    pendingLength_ = length;
    pendingTime_ = now;
}

int MacroFlash::PendingButton() const {
    std::lock_guard guard(lock_);
    return pendingButton_;
}

void MacroFlash::CountPendingLocked() {
    if (pendingButton_ < 0) {
        return;
    }
    position_ = Add(position_, int64_t{pendingLength_} + 4);
    pendingButton_ = -1;
    pendingLength_ = 0;
    SaveLocked();
}

void MacroFlash::CountPending() {
    std::lock_guard guard(lock_);
    CountPendingLocked();
}

bool MacroFlash::CountPendingIfDue(int64_t now) {
    std::lock_guard guard(lock_);
    if (pendingButton_ < 0 || now - pendingTime_ < kPendingAgeMs) {
        return false;
    }
    CountPendingLocked();
    return true;
}

void MacroFlash::CountPendingBefore(int button, int64_t now) {
    std::lock_guard guard(lock_);
    if (pendingButton_ < 0) {
        return;
    }
    if (pendingButton_ != button || now - pendingTime_ >= kPendingAgeMs) {
        CountPendingLocked();
    }
}

void MacroFlash::AdvanceOver(int length) {
    std::lock_guard guard(lock_);
    int32_t next = Add(position_, int64_t{length} + 4);
    if (((static_cast<uint32_t>(next)) & 0xFF) == 254) {
        next = Add(position_, int64_t{length} + 8);
    }
    position_ = next;
    // Kept at once, so a restart after reading the mouse knows where its macros end.
    SaveLocked();
}
