#include "app/store/SQLiteDB.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include "tests/support/TempFolder.h"

namespace {

constexpr int kCreate = SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_FULLMUTEX;

TEST(SQLiteDB, ClosedDatabaseGivesMisuseEverywhere) {
    SQLiteDB db;
    SQLiteStatement statement;
    EXPECT_EQ(db.Prepare(statement, "SELECT 1"), SQLITE_MISUSE);
    EXPECT_EQ(statement.BindInt(1, 5), SQLITE_MISUSE);
    EXPECT_EQ(statement.BindText(1, "x", 1), SQLITE_MISUSE);
    EXPECT_EQ(statement.Step(), SQLITE_MISUSE);
    EXPECT_EQ(statement.ColumnInt(0), 0);
    EXPECT_EQ(statement.ColumnText(0), nullptr);
    EXPECT_EQ(db.Execute("SELECT 1"), SQLITE_MISUSE);
    EXPECT_EQ(db.LastInsertRowId(), -1);
    EXPECT_TRUE(db.Close());
}

TEST(SQLiteDB, FailedOpenLeavesNoConnectionAndAGoodOneFollows) {
    TempFolder folder;
    SQLiteDB db;
    EXPECT_FALSE(db.Open((folder / "missing/dir/x.db").c_str(), kCreate));
    EXPECT_FALSE(db.IsOpen());
    EXPECT_FALSE(db.Open(nullptr, kCreate));
    ASSERT_TRUE(db.Open((folder / "good.db").c_str(), kCreate));
    EXPECT_TRUE(db.IsOpen());
    SQLiteStatement statement;
    ASSERT_EQ(db.Prepare(statement, "PRAGMA synchronous"), SQLITE_OK);
    ASSERT_EQ(statement.Step(), SQLITE_ROW);
    EXPECT_EQ(statement.ColumnInt(0), 0) << "every connection writes without syncing";
}

TEST(SQLiteDB, SecondPrepareFinalisesTheFirstAndCloseSucceedsAfterwards) {
    TempFolder folder;
    SQLiteDB db;
    ASSERT_TRUE(db.Open((folder / "a.db").c_str(), kCreate));
    ASSERT_EQ(db.Execute("CREATE TABLE t(v INTEGER); INSERT INTO t VALUES (7);"), SQLITE_OK);
    {
        SQLiteStatement statement;
        ASSERT_EQ(db.Prepare(statement, "SELECT v FROM t"), SQLITE_OK);
        ASSERT_EQ(statement.Step(), SQLITE_ROW);
        ASSERT_EQ(db.Prepare(statement, "SELECT v + 1 FROM t"), SQLITE_OK);
        ASSERT_EQ(statement.Step(), SQLITE_ROW);
        EXPECT_EQ(statement.ColumnInt(0), 8);
        // A statement is still open, so a close fails and keeps the handle.
        EXPECT_FALSE(db.Close());
        EXPECT_TRUE(db.IsOpen());
    }
    // Had the first handle leaked, the close would still fail here.
    EXPECT_TRUE(db.Close());
    EXPECT_FALSE(db.IsOpen());
}

TEST(SQLiteDB, BoundTextAndLengths) {
    TempFolder folder;
    SQLiteDB db;
    ASSERT_TRUE(db.Open((folder / "a.db").c_str(), kCreate));
    SQLiteStatement statement;
    const char sql[] = "SELECT ?1 || '!'; this part is ignored";
    ASSERT_EQ(db.Prepare(statement, sql, 16), SQLITE_OK);
    const std::string text = "h\xC3\xA9llo";
    ASSERT_EQ(statement.BindText(1, text.data(), static_cast<int>(text.size())), SQLITE_OK);
    ASSERT_EQ(statement.Step(), SQLITE_ROW);
    EXPECT_STREQ(statement.ColumnText(0), "h\xC3\xA9llo!");
    EXPECT_EQ(statement.Step(), SQLITE_DONE);
    EXPECT_EQ(db.Prepare(statement, nullptr), SQLITE_MISUSE);
}

TEST(SQLiteAutoTransaction, OnClosedDatabaseIsActiveButDoesNothing) {
    SQLiteDB db;
    SQLiteAutoTransaction transaction(&db);
    EXPECT_TRUE(transaction.IsActive());
    EXPECT_FALSE(transaction.Begin());
    EXPECT_FALSE(transaction.Commit());
    EXPECT_FALSE(transaction.IsActive());

    SQLiteAutoTransaction none(nullptr);
    EXPECT_FALSE(none.IsActive());
    EXPECT_FALSE(none.Begin());
    EXPECT_FALSE(none.Commit());
}

TEST(SQLiteAutoTransaction, WrapsWritesAndEndsOnCommitOrScope) {
    TempFolder folder;
    SQLiteDB db;
    ASSERT_TRUE(db.Open((folder / "a.db").c_str(), kCreate));
    ASSERT_EQ(db.Execute("CREATE TABLE t(v INTEGER)"), SQLITE_OK);
    {
        SQLiteAutoTransaction transaction(&db);
        EXPECT_FALSE(transaction.Begin()) << "already active from the constructor";
        ASSERT_EQ(db.Execute("INSERT INTO t VALUES (1)"), SQLITE_OK);
        // Inside the transaction a nested BEGIN is refused.
        EXPECT_NE(db.Execute("BEGIN"), SQLITE_OK);
        EXPECT_TRUE(transaction.Commit());
        EXPECT_TRUE(transaction.Begin());
        ASSERT_EQ(db.Execute("INSERT INTO t VALUES (2)"), SQLITE_OK);
    }
    // The destructor ended the second one: a new BEGIN works again.
    EXPECT_EQ(db.Execute("BEGIN"), SQLITE_OK);
    EXPECT_EQ(db.Execute("END"), SQLITE_OK);
    SQLiteStatement count;
    ASSERT_EQ(db.Prepare(count, "SELECT count(*) FROM t"), SQLITE_OK);
    ASSERT_EQ(count.Step(), SQLITE_ROW);
    EXPECT_EQ(count.ColumnInt(0), 2);
}

}  // namespace
