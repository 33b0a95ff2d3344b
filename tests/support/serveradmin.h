#pragma once

#include <QString>

// What a test run or a benchmark does on a PostgreSQL server as its superuser: databases of
// their own made and dropped, one statement at a time. `address` is a libpq URI or key=value
// string, as the program takes it.
namespace serveradmin {

// The same server and login, on the database `name`.
QString withDatabase(const QString &address, const QString &name);
// Runs one statement on a short connection of its own; throws std::runtime_error on a failure.
void exec(const QString &address, const QString &sql);
// A new, empty database with a name of its own, starting with `prefix`; returns its name.
QString createDatabase(const QString &address, const QString &prefix);
void dropDatabase(const QString &address, const QString &name);

} // namespace serveradmin
