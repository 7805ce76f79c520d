#pragma once

#include <cstdint>
#include <string>
#include <type_traits>

#include "app/store/SQLiteDB.h"

// Binds a list of parameters (integers or UTF-8 strings) to 1-based positions. Text is bound
// without copying, so the strings must live until the statement has been stepped.
namespace store_detail {

inline int BindOne(SQLiteStatement& statement, int index, int32_t value) {
    return statement.BindInt(index, value);
}

inline int BindOne(SQLiteStatement& statement, int index, const std::string& text) {
    return statement.BindText(index, text.c_str(), static_cast<int>(text.size()));
}

template <typename... Args>
void BindAll(SQLiteStatement& statement, const Args&... args) {
    int index = 0;
    (BindOne(statement, ++index, args), ...);
}

}  // namespace store_detail

namespace store_detail {

// Prepares sql on statement and binds args; returns the prepare result.
template <typename... Args>
int PrepareAndBind(SQLiteDB& database, SQLiteStatement& statement, const char* sql,
                   const Args&... args) {
    const int code = database.Prepare(statement, sql);
    if (code == 0) {
        BindAll(statement, args...);
    }
    return code;
}

// Runs a statement that returns no rows; returns the step result (or the prepare failure).
template <typename... Args>
int RunOnce(SQLiteDB& database, const char* sql, const Args&... args) {
    SQLiteStatement statement;
    const int code = PrepareAndBind(database, statement, sql, args...);
    return code == 0 ? statement.Step() : code;
}

// Column text as a wide string; a null column is empty.
std::wstring ColumnWide(const SQLiteStatement& statement, int index);

}  // namespace store_detail
