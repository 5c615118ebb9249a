#include "core/sqlite/SqliteConnection.h"
#include "core/sqlite/SqliteTransaction.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class SqliteConnectionTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_folder.isValid());
        ASSERT_TRUE(m_connection.open(m_folder.filePath(QStringLiteral("test.sqlite")),
                                      SqliteConnection::Mode::ReadWrite));
        ASSERT_TRUE(m_connection.exec(QStringLiteral("CREATE TABLE t (x)")));
    }

    QStringList rows() {
        QStringList values;
        SqliteStatement& query = m_connection.statement("SELECT x FROM t ORDER BY rowid");
        while (query.step()) {
            values.append(query.text(0));
        }
        return values;
    }

    void insert(const QString& value) {
        EXPECT_TRUE(m_connection.statement("INSERT INTO t VALUES (?1)").bind(1, value).execute());
    }

    QTemporaryDir m_folder;
    SqliteConnection m_connection;
};

} // namespace

TEST_F(SqliteConnectionTest, AFailureIsAValueThatNamesTheStatementAndTheCallingLine) {
    const int line = __LINE__ + 1;
    SqliteStatement& statement = m_connection.statement("INSERT INTO missing VALUES (?1)");
    const SqliteResult result = statement.bind(1, 1).execute();
    ASSERT_FALSE(result);
    EXPECT_EQ(result.error().sql, QStringLiteral("INSERT INTO missing VALUES (?1)"));
    EXPECT_TRUE(result.error().message.contains(QStringLiteral("no such table")));
    EXPECT_EQ(result.error().description().left(result.error().description().indexOf(QLatin1Char(' '))),
              QStringLiteral("SqliteConnectionTest.cpp:%1:").arg(line));
    ASSERT_TRUE(m_connection.lastFailure());
    EXPECT_EQ(m_connection.lastFailure()->sql, result.error().sql);

    // Text is bound, never spliced into the SQL.
    insert(QStringLiteral("x'); DROP TABLE t; --"));
    EXPECT_EQ(rows(), QStringList{QStringLiteral("x'); DROP TABLE t; --")});
}

TEST_F(SqliteConnectionTest, AnUncommittedWriteLeavesNothingAndANestedOneOnlyItsOwnPart) {
    {
        SqliteTransaction outer(m_connection);
        ASSERT_TRUE(outer.begin());
        insert(QStringLiteral("dropped"));
    }
    EXPECT_TRUE(rows().isEmpty());
    EXPECT_TRUE(m_connection.isAutocommit());

    SqliteTransaction outer(m_connection);
    ASSERT_TRUE(outer.begin());
    insert(QStringLiteral("kept"));
    {
        SqliteTransaction inner(m_connection);
        ASSERT_TRUE(inner.begin());
        insert(QStringLiteral("undone"));
    }
    ASSERT_TRUE(outer.commit());
    EXPECT_EQ(rows(), QStringList{QStringLiteral("kept")});
    EXPECT_TRUE(m_connection.isAutocommit());
}

TEST_F(SqliteConnectionTest, NullAndEmptyStayApartForTextAndBlobs) {
    SqliteStatement write(m_connection, QStringLiteral("INSERT INTO t VALUES (?1)"));
    for (int round = 0; round < 2; ++round) {
        write.reset();
        if (round == 0) {
            write.bind(1, QString());
        } else {
            write.bind(1, QStringLiteral(""));
        }
        ASSERT_TRUE(write.execute());
    }
    write.reset().bindBlob(1, QByteArray());
    ASSERT_TRUE(write.execute());
    write.reset().bindBlob(1, QByteArray(""));
    ASSERT_TRUE(write.execute());

    SqliteStatement read(m_connection, QStringLiteral("SELECT x FROM t ORDER BY rowid"));
    ASSERT_TRUE(read.step());
    EXPECT_TRUE(read.text(0).isNull());
    ASSERT_TRUE(read.step());
    EXPECT_FALSE(read.text(0).isNull());
    EXPECT_TRUE(read.text(0).isEmpty());
    ASSERT_TRUE(read.step());
    EXPECT_TRUE(read.blob(0).isNull());
    ASSERT_TRUE(read.step());
    EXPECT_TRUE(read.isBlob(0));
    EXPECT_FALSE(read.blob(0).isNull());
    EXPECT_FALSE(read.step());
    EXPECT_TRUE(read.result());
}
