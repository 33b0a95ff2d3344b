#include "register/photos.h"

#include "store/cursor.h"

#include <QFileInfo>

QString photoFileName(int id, int slot)
{
    return QStringLiteral("%1-%2.jpg").arg(id).arg(slot);
}

QString imagesFolder(const QString &dataDir)
{
    return dataDir + QStringLiteral("Images/");
}

QString photoPath(const QString &dataDir, const QString &fileName)
{
    return imagesFolder(dataDir) + fileName;
}

std::vector<PendingPhoto> preparePhotos(Cursor &property, const QStringList &photoList, int count)
{
    std::vector<PendingPhoto> pending;
    const int id = property.integer(QStringLiteral("Id"));
    for (int slot = 1; slot <= maxPhotos; ++slot) {
        const QString source = photoList.value(slot - 1);
        if (count < slot || source.isEmpty())
            continue;
        const QString name = photoFileName(id, slot);
        property.setValue(QStringLiteral("Kep%1").arg(slot), name);
        pending.emplace_back(source, photostore::folder(property.database()) + name);
    }
    return pending;
}

void storePhotos(Cursor &property, const QStringList &photoList, int count)
{
    for (PendingPhoto &photo : preparePhotos(property, photoList, count))
        photo.place();
}

void PhotoUpdate::prepare(Cursor &property, const QStringList &photoList, int count)
{
    m_pending = preparePhotos(property, photoList, count);
}

void PhotoUpdate::record()
{
    m_moves.clear();
    for (const PendingPhoto &photo : m_pending)
        m_moves.append({photo.temporaryName(), QFileInfo(photo.destination()).fileName()});
    m_rows = photostore::record(m_db, m_moves);
}

void PhotoUpdate::finish()
{
    // From here on the temporaries are the recorded moves' to put in place, even after a crash.
    for (PendingPhoto &photo : m_pending)
        photo.release();
    m_pending.clear();
    photostore::finish(m_db, m_rows, m_moves);
    m_rows.clear();
    m_moves.clear();
}
