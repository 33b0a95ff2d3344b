#include "photos.h"

#include "cursor.h"

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
        pending.emplace_back(source, photoPath(property.dataDir(), name));
    }
    return pending;
}

void storePhotos(Cursor &property, const QStringList &photoList, int count)
{
    for (PendingPhoto &photo : preparePhotos(property, photoList, count))
        photo.place();
}
