#pragma once

#include <mutex>

#include "app/store/DeviceDataDB.h"

// A transaction over several store operations that either all stay or all go: it holds the
// store lock from start to end, so no statement of the worker lands inside it, and rolls back
// unless committed. The store's own SQLiteAutoTransaction never rolls back and must not be
// nested in it (AddMacroEvents uses one), so callers inside use the single-row operations.
class StoreTransaction {
public:
    explicit StoreTransaction(DeviceDataDB& db) : db_(db), hold_(db.Lock()) {
        active_ = db_.IsOpen() && db_.Execute("BEGIN") == 0;
    }
    ~StoreTransaction() {
        if (active_) {
            db_.Execute("ROLLBACK");
        }
    }
    StoreTransaction(const StoreTransaction&) = delete;
    StoreTransaction& operator=(const StoreTransaction&) = delete;

    bool Active() const { return active_; }
    bool Commit() {
        if (!active_) {
            return false;
        }
        active_ = false;
        if (db_.Execute("COMMIT") == 0) {
            return true;
        }
        db_.Execute("ROLLBACK");
        return false;
    }

private:
    DeviceDataDB& db_;
    std::lock_guard<std::recursive_mutex> hold_;
    bool active_ = false;
};
