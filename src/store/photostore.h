#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

class Database;

// The Images folder kept in step with the records that name its photos, whenever the program
// may be killed. A unit of work that changes photos first shrinks them into hidden temporaries
// beside their final names; inside its transaction it records what is to be renamed or removed;
// after the commit it carries that out and clears the record. A start after a crash finishes what
// a committed unit still owed and throws away whatever an uncommitted one left behind, so the
// names `Id-slot.jpg` the portal relies on are only ever the photos their records were given.
namespace photostore {

// A shrunk photo's rename from its temporary onto its name; both file names in Images.
struct PhotoMove
{
    QString temporary;
    QString photo;
};

// Inside the caller's transaction, after its records are written. Returns what finish() needs.
QList<qint64> record(Database &db, const QList<PhotoMove> &moves);

// After the outermost commit: carries out the moves recorded under `rows`, makes them durable
// and forgets them. Throws StoreError when a file cannot be renamed; the moves then stay
// recorded and the next start finishes them.
void finish(Database &db, const QList<qint64> &rows, const QList<PhotoMove> &moves);

// At start-up, before anything reads the Images folder: finishes every recorded move, then
// removes leftover temporaries and the `Id-slot.jpg` files of record numbers never given out
// (which no record names). Skipped while another copy of the program works on the same folder;
// the folder stays guarded for as long as `db` is open.
void recover(Database &db);

// Where this workstation shrinks photos into and reads them from, with a trailing separator: the
// embedded register's Images folder; on the office server a folder of this program's own, which
// holds copies of photos the server keeps (the Images folder of the data directory then stays
// the embedded register's, should the workstation go back to it).
QString folder(Database &db);

// A stored photo as a file to read, by its name ("57-1.jpg"). On the server it is fetched from
// the database first, so that what one workstation stored every other one shows, prints and
// uploads. The file is absent when no photo of that name is stored. Throws StoreError.
QString localFile(Database &db, const QString &name);

// On the server, inside the caller's transaction: keeps `bytes` as the photo `name`, replacing
// one of that name. Throws StoreError.
void put(Database &db, const QString &name, const QByteArray &bytes);

// The SHA-256 of a photo's bytes as hex, as the server keeps it beside them.
QString digestOf(const QByteArray &bytes);

// The hidden name a photo is shrunk into before it is put in place (".57-1.jpg.XXXXXX").
bool isTemporaryName(const QString &fileName);

} // namespace photostore
