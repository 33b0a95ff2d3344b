#pragma once

#include "register/photoshrink.h"
#include "store/photostore.h"

#include <QStringList>
#include <vector>

class Cursor;
class Database;

// How many photos a property can have, and so how many entries the photo list takes.
constexpr int maxPhotos = 4;

// "57-1.jpg": the property's record number, a hyphen, the slot (1 to 4).
QString photoFileName(int id, int slot);
// The folder of the embedded register's photos in a data directory (which ends with a
// separator); photostore::localFile() finds a stored photo on either database.
QString imagesFolder(const QString &dataDir);
QString photoPath(const QString &dataDir, const QString &fileName);

// For slots 1 to 4 up to `count`, each non-empty entry of the photo list is named after the
// slot in `Kep1`..`Kep4` of the property's record (which is being edited) and shrunk into the
// photo folder of its database (photostore::folder), not yet in place. Any failure drops every copy
// made so far.
std::vector<PendingPhoto> preparePhotos(Cursor &property, const QStringList &photoList, int count);

// The same, with every photo put in place at once.
void storePhotos(Cursor &property, const QStringList &photoList, int count);

// The photo side of one unit of work on a property's record, so that its photo files and its
// record agree whenever the program is stopped: the photos it is given are shrunk before the
// transaction, what it puts in place is recorded inside it, and the files change only after the
// commit (or, after a crash, at the next start). Photos the record stops naming stay in the
// folder, as they always have.
class PhotoUpdate
{
public:
    explicit PhotoUpdate(Database &db)
        : m_db(db)
    { }

    // Before the transaction: as preparePhotos.
    void prepare(Cursor &property, const QStringList &photoList, int count);
    // Inside the transaction, once the records are written.
    void record();
    // After the commit. Throws StoreError when a file could not be put in place; the next start
    // tries again.
    void finish();

private:
    Database &m_db;
    std::vector<PendingPhoto> m_pending;
    QList<photostore::PhotoMove> m_moves;
    QList<qint64> m_rows;
};
