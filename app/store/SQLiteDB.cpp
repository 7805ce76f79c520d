#include "app/store/SQLiteDB.h"

#include <sqlite3.h>

#include <cstring>

SQLiteDB::~SQLiteDB() {
    Interrupt();
    Close();
}

void SQLiteDB::Interrupt() {
    if (handle_ != nullptr) {
        sqlite3_interrupt(handle_);
    }
}

bool SQLiteDB::Open(const char* utf8Path, int flags) {
    Interrupt();
    Close();
    if (utf8Path == nullptr) {
        return false;
    }
    sqlite3* opened = nullptr;
    if (sqlite3_open_v2(utf8Path, &opened, flags, nullptr) != SQLITE_OK) {
        sqlite3_close(opened);
        return false;
    }
    handle_ = opened;
    Execute("PRAGMA synchronous = OFF; ");
    return true;
}

bool SQLiteDB::Close() {
    if (handle_ == nullptr) {
        return true;
    }
    if (sqlite3_close(handle_) != SQLITE_OK) {
        return false;
    }
    handle_ = nullptr;
    return true;
}

int SQLiteDB::Prepare(SQLiteStatement& statement, const char* utf8Sql, int length) {
    statement.Finalize();
    if (handle_ == nullptr || utf8Sql == nullptr) {
        return SQLITE_MISUSE;
    }
    if (length < 0) {
        length = static_cast<int>(std::strlen(utf8Sql)) + 1;
    }
    return sqlite3_prepare_v2(handle_, utf8Sql, length, &statement.handle_, nullptr);
}

int SQLiteDB::Execute(const char* utf8Sql, RowCallback callback, void* context) {
    if (handle_ == nullptr || utf8Sql == nullptr) {
        return SQLITE_MISUSE;
    }
    return sqlite3_exec(handle_, utf8Sql, callback, context, nullptr);
}

int64_t SQLiteDB::LastInsertRowId() const {
    return handle_ == nullptr ? -1 : sqlite3_last_insert_rowid(handle_);
}

SQLiteStatement::~SQLiteStatement() {
    Finalize();
}

int SQLiteStatement::Finalize() {
    if (handle_ == nullptr) {
        return SQLITE_OK;
    }
    const int code = sqlite3_finalize(handle_);
    if (code == SQLITE_OK) {
        handle_ = nullptr;
    }
    return code;
}

int SQLiteStatement::BindInt(int index, int32_t value) {
    return handle_ == nullptr ? SQLITE_MISUSE : sqlite3_bind_int(handle_, index, value);
}

int SQLiteStatement::BindText(int index, const char* utf8, int byteLength) {
    return handle_ == nullptr ? SQLITE_MISUSE
                              : sqlite3_bind_text(handle_, index, utf8, byteLength, SQLITE_STATIC);
}

int SQLiteStatement::Step() {
    return handle_ == nullptr ? SQLITE_MISUSE : sqlite3_step(handle_);
}

int32_t SQLiteStatement::ColumnInt(int index) const {
    return handle_ == nullptr ? 0 : sqlite3_column_int(handle_, index);
}

const char* SQLiteStatement::ColumnText(int index) const {
    return handle_ == nullptr ? nullptr
                              : reinterpret_cast<const char*>(sqlite3_column_text(handle_, index));
}

SQLiteAutoTransaction::SQLiteAutoTransaction(SQLiteDB* database) : database_(database) {
    if (database_ != nullptr) {
        if (database_->IsOpen()) {
            database_->Execute("BEGIN");
        }
        active_ = true;
    }
}

SQLiteAutoTransaction::~SQLiteAutoTransaction() {
    if (active_ && database_ != nullptr && database_->IsOpen()) {
        database_->Execute("END");
    }
    active_ = false;
}

bool SQLiteAutoTransaction::Begin() {
    if (database_ == nullptr || active_) {
        return false;
    }
    active_ = true;
    if (!database_->IsOpen()) {
        return false;
    }
    return database_->Execute("BEGIN") == SQLITE_OK;
}

bool SQLiteAutoTransaction::Commit() {
    if (database_ == nullptr) {
        return false;
    }
    active_ = false;
    if (!database_->IsOpen()) {
        return false;
    }
    return database_->Execute("END") == SQLITE_OK;
}
