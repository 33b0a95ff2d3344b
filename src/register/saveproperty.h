#pragma once

#include <QPair>
#include <QStringList>
#include <QVariant>
#include <functional>

class Cursor;
class Database;
struct RegisterState;

// Everything the modify window hands over for the property it was opened on: the simple fields
// in the order they are written, the photo list, and the detailed description when it is kept.
struct PropertyChanges
{
    QList<QPair<QString, QVariant>> fields;
    QStringList photos;
    int photoCount = 0;
    // Fills the detailed record being edited or appended; empty when the property has none.
    std::function<void(Cursor &reszletes)> writeDetailed;
};

// Whether another property than `ownId` already has this identifier, compared case-blind and
// as the table keeps it (cut to its width). Touches none of the shared cursors.
bool identifierTaken(Database &db, const QString &identifier, int ownId);

// Copies the owners of property `id` into the modify window's emptied working list.
void loadWorkingOwners(RegisterState &cursors, int id);

// Saves the changes into the current property of `tEgyszeru`: its record, its owners (replaced
// by the working list), its photos and its detailed description, all or nothing. Photos are
// shrunk into temporary files first and put in place only once the tables are committed.
// Throws StoreError with a Hungarian message; then nothing has changed.
void saveModifiedProperty(RegisterState &cursors, const PropertyChanges &changes);
