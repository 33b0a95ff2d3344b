#pragma once

#include <QString>

// The PostgreSQL cluster a test run started (tests/support/pgcluster), for the suites that run
// once on the embedded register and once on the server. PELMORA_TEST_SERVER_FILE names the file
// holding its superuser's URI; a suite run without it runs on SQLite.
namespace testserver {

bool active();
// The superuser's URI, on the maintenance database `postgres`.
QString adminUri();
// The URI of the cluster's database `name`, as the superuser.
QString uriFor(const QString &name);
// A new, empty database with a name of its own; returns its name.
QString createDatabase();
void dropDatabase(const QString &name);
// Runs one statement as the superuser on the database `name`; fails the test on an error.
void run(const QString &name, const QString &sql);

} // namespace testserver

// For a case about the embedded file itself (its header, its locking, its upgrade from files of
// earlier builds), which a run on the server has nothing to check of.
#define PELMORA_SQLITE_ONLY()                                                                      \
    do {                                                                                           \
        if (testserver::active())                                                                  \
            QSKIP("the embedded register's own case");                                             \
    } while (false)
