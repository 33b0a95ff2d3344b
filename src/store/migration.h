#pragma once

#include <QMap>
#include <QString>
#include <QStringList>
#include <functional>

class Database;

// Moving an office onto its server: the embedded register of this workstation copied whole
// into an empty server database, record numbers, save counts and photos kept, so that the
// photo names and everything the portal has been sent still mean the same properties.
namespace migration {

// Told how many of `total` rows and photos are copied; returns false to stop, which leaves the
// server as it was.
using Progress = std::function<bool(qint64 done, qint64 total)>;

struct Result
{
    // Rows copied by table, each checked against the server's count before the commit.
    QMap<QString, qint64> rows;
    // Photos copied, each checked against the server's own digest of its bytes.
    int photos = 0;
    // Photos a record names that were not in the Images folder (they are not on the server
    // either, as they were not on this desk).
    QStringList missingPhotos;
    bool stopped = false;
};

// Copies `local` (the embedded register) into `server` (a register opened on the office
// server, made without reference rows) in one server transaction: every table but the
// workstation's own working lists, every row with its row id, the record-number sequences past
// every number ever given, and every photo a property or archived property names. Refuses a
// server database that already holds properties, archived properties, buyers or requests, or
// a change log. Throws StoreError when anything fails or a check does not agree; the server
// then keeps nothing of it.
Result toServer(Database &local, Database &server, const Progress &progress = {});

} // namespace migration
