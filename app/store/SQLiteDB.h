#pragma once

#include <cstdint>

struct sqlite3;
struct sqlite3_stmt;

// A thin layer over the SQLite C interface. It reports SQLite's result codes unchanged and
// never throws; a missing handle turns into SQLITE_MISUSE (21), 0 or null.

class SQLiteStatement;

class SQLiteDB {
public:
    using RowCallback = int (*)(void* context, int columns, char** values, char** names);

    SQLiteDB() = default;
    SQLiteDB(const SQLiteDB&) = delete;
    SQLiteDB& operator=(const SQLiteDB&) = delete;
    virtual ~SQLiteDB();

    // Closes the current connection first; switches synchronous writes off on success.
    bool Open(const char* utf8Path, int flags);
    // True when nothing is open; a failed close keeps the handle so that it can be retried.
    bool Close();
    bool IsOpen() const { return handle_ != nullptr; }

    // A negative length takes the whole zero-terminated text, terminator included.
    int Prepare(SQLiteStatement& statement, const char* utf8Sql, int length = -1);
    int Execute(const char* utf8Sql, RowCallback callback = nullptr, void* context = nullptr);
    // -1 without a connection.
    int64_t LastInsertRowId() const;

private:
    void Interrupt();

    sqlite3* handle_ = nullptr;
};

class SQLiteStatement {
public:
    SQLiteStatement() = default;
    SQLiteStatement(const SQLiteStatement&) = delete;
    SQLiteStatement& operator=(const SQLiteStatement&) = delete;
    virtual ~SQLiteStatement();

    int BindInt(int index, int32_t value);
    // The text is not copied: it must outlive the next Step.
    int BindText(int index, const char* utf8, int byteLength);
    int Step();
    int32_t ColumnInt(int index) const;
    // Valid until the next Step or finalisation; null without a handle.
    const char* ColumnText(int index) const;

    bool IsPrepared() const { return handle_ != nullptr; }

private:
    friend class SQLiteDB;
    int Finalize();

    sqlite3_stmt* handle_ = nullptr;
};

// BEGIN on construction when the connection is open; END (never a rollback) on commit or when
// it goes out of scope while active.
class SQLiteAutoTransaction {
public:
    explicit SQLiteAutoTransaction(SQLiteDB* database);
    SQLiteAutoTransaction(const SQLiteAutoTransaction&) = delete;
    SQLiteAutoTransaction& operator=(const SQLiteAutoTransaction&) = delete;
    virtual ~SQLiteAutoTransaction();

    bool Begin();
    bool Commit();
    bool IsActive() const { return active_; }

private:
    SQLiteDB* database_;
    bool active_ = false;
};

// A step result that the store counts as success.
inline bool StepSucceeded(int code) {
    return code == 0 || code == 100 || code == 101;
}
