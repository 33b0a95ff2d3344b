#pragma once

#include "store/tabledef.h"

#include <QString>
#include <QVariant>
#include <functional>
#include <optional>

class Database;
struct sqlite3_stmt;

// Any one query read straight from SQLite's statement, for the cursor's chunks: a chunk of the
// property table is fifty columns by two hundred rows, and reading it through Qt SQL builds
// every value twice. Only an SQLite connection has one; the cursor reads through Qt SQL
// elsewhere.
namespace directread {

// Whether the connection can be read this way with these values bound.
bool available(Database &db, const QVariantList &binds);

// Runs the query and visits each row; returns how many rows came. Throws StoreError on a
// failed read. Call only where available() said yes.
qsizetype rows(Database &db, const QString &sql, const QVariantList &binds,
               const std::function<void(sqlite3_stmt *)> &visit);

qint64 integer(sqlite3_stmt *statement, int at);
// The column `at` of the row as a field of that kind reads it through Qt SQL: the very value
// fromColumn makes of the driver's.
QVariant fieldValue(sqlite3_stmt *statement, int at, FieldKind kind);

} // namespace directread
