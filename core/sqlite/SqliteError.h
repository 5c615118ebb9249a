#pragma once

#include <QString>

#include <source_location>

// Why SQLite refused a statement and where our code ran it. The wrapper logs nothing; each store
// reports these in its own words.
struct SqliteError {
    // SQLite's own message.
    QString message;
    // The statement as written. Values are always bound, so it never holds the user's text.
    QString sql;
    // The call that prepared or ran the statement.
    std::source_location location;

    // "EventStoreWriter.cpp:123: “DELETE FROM events WHERE id = ?1” failed: disk I/O error"
    QString description() const;
};
