#pragma once

#include "photoshrink.h"

#include <QStringList>
#include <vector>

class Cursor;

// How many photos a property can have, and so how many entries the photo list takes.
constexpr int maxPhotos = 4;

// "57-1.jpg": the property's record number, a hyphen, the slot (1 to 4).
QString photoFileName(int id, int slot);
// The folder of the stored photos in a data directory (which ends with a separator).
QString imagesFolder(const QString &dataDir);
QString photoPath(const QString &dataDir, const QString &fileName);

// For slots 1 to 4 up to `count`, each non-empty entry of the photo list is named after the
// slot in `Kep1`..`Kep4` of the property's record (which is being edited) and shrunk into the
// data directory's Images folder, not yet in place. Any failure drops every copy made so far.
std::vector<PendingPhoto> preparePhotos(Cursor &property, const QStringList &photoList, int count);

// The same, with every photo put in place at once.
void storePhotos(Cursor &property, const QStringList &photoList, int count);
