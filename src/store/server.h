#pragma once

#include <QSqlDatabase>
#include <QString>
#include <optional>

// The office server: a PostgreSQL database that several workstations share, reached through
// Qt SQL's QPSQL driver with libpq's own conventions (a URI or key=value string, ~/.pgpass,
// PGSERVICE, sslmode).
namespace server {

// The server this workstation's scripts and tests name: PELMORA_DB, a libpq connection URI such
// as postgresql://anna@iroda-szerver/pelmora. Empty: none named.
QString fromEnvironment();

// Sets up a QPSQL connection for the server named by `address`. Throws StoreError (Hungarian)
// when the address cannot be read.
void configure(QSqlDatabase &db, const QString &address);

// A value of a key=value connection string, quoted as libpq reads it.
QString quotedValue(const QString &value);

// The address shown to the user: everything but the password.
QString describe(const QString &address);

// Why the connection could not be opened, in the user's words: a wrong password, a missing
// role or database and an unreachable server are told apart.
QString connectError(const QString &address, const QString &driverText);

// Opens a connection of its own to the server and closes it again: the server's version on
// success, nothing and the reason (Hungarian) in `error` otherwise. Safe on any thread.
std::optional<QString> probe(const QString &address, QString *error);

// The statement that makes the folding function case-blind filters use on fields without a
// stored folded copy, folding exactly as the program does every character a text can be stored
// with.
QString foldFunction();

} // namespace server
