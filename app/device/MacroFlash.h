#pragma once

#include <cstdint>
#include <mutex>
#include <string>

// Where the next macro starts in the mouse's macro memory, and the macro sent last that is not
// counted yet. The position survives restarts in "macro_flash.dat": "FFOT", then the position
// as a 32-bit little-endian integer. Used by the worker and by the system page's reset.
class MacroFlash {
public:
    static constexpr int64_t kPendingAgeMs = 3000;

    // The file in the per-user data folder.
    static std::string DefaultPath();

    explicit MacroFlash(std::string path);

    // 0 when the file is missing, short or of another kind; unchanged when it cannot be read.
    void Load();
    int32_t Position() const;
    void SetPosition(int32_t position);  // saved

    // Position 0, nothing pending, file rewritten.
    void Reset();
    // A macro of this length went to button at time now.
    void SetPending(int button, int length, int64_t now);
    int PendingButton() const;
    // Counting adds the pending length plus 4 and rewrites the file.
    void CountPending();
    // Counted when it is kPendingAgeMs old; true when it was.
    bool CountPendingIfDue(int64_t now);
    // Before a macro goes to button: another button's pending macro is counted at once, the
    // same button's only once it is old enough (the mouse overwrites it in place before).
    void CountPendingBefore(int button, int64_t now);
    // A macro of this device length found in the mouse's memory.
    void AdvanceOver(int length);

private:
    bool SaveLocked() const;
    void CountPendingLocked();

    std::string path_;
    mutable std::mutex lock_;
    int32_t position_ = 0;
    int pendingButton_ = -1;
    int pendingLength_ = 0;
    int64_t pendingTime_ = 0;
};
