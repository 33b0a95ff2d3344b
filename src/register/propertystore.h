#pragma once

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantMap>
#include <functional>
#include <optional>

class Cursor;
class Database;
class Record;
struct RegisterState;

// Fills a detailed-description record (appended or edited; identifier and link already set).
using DetailedWriter = std::function<void(Cursor &reszletes)>;

// Everything the new-property form hands over for one store. `fields` holds the property
// table's fields as they are to be written (numbers already rounded where the table wants whole
// numbers, memos already in their stored form); the store adds the bookkeeping fields itself.
struct NewProperty
{
    QVariantMap fields;
    QStringList photos; // the photo list, in slot order
    int photoCount = 0; // as the form shows it: only this many entries are stored
    bool detailed = false; // a detailed-description record is written
    DetailedWriter writeDetailed; // may be empty: then the record holds only its link

    QString text(const char *field) const
    {
        return fields.value(QString::fromLatin1(field)).toString();
    }
};

// Everything the modify window hands over for the property it was opened on: the simple fields
// in the order they are written, the photo list, and the detailed description when it is kept.
struct PropertyChanges
{
    QList<QPair<QString, QVariant>> fields;
    QStringList photos;
    int photoCount = 0;
    // Empty when the property is to have no detailed record (a stored one is removed).
    DetailedWriter writeDetailed;
    // The property the window was opened on, and its save count as the window read it: a
    // property saved or archived elsewhere since is not overwritten (ConflictError). 0 and -1:
    // the current property as the cursor holds it.
    int id = 0;
    qint64 readVersion = -1;
};

// The first check a new property fails: its message and the objectName of the control that
// gets the focus.
struct CheckFailure
{
    QString message;
    QString focus;
};

// Whether another property than `ownId` already has this identifier, compared case-blind and
// as the table keeps it (cut to its width, characters outside Windows-1250 as "?"). Touches
// none of the shared cursors. A new property has no record number yet: `ownId` 0.
bool identifierTaken(Database &db, const QString &identifier, int ownId = 0);

// Runs the checks in the order the user meets them. The identifier check leaves its filter
// text on the shared property cursor, with filtering off, as the search panel expects to find
// it after a store.
std::optional<CheckFailure> checkNewProperty(const NewProperty &property, Cursor &tEgyszeru);

// Writes the property, its owners from the working list, its photos and (when asked) its
// detailed description as one unit, and returns its new record number. On any failure nothing
// of it stays stored, no photo file of it is left behind, and a StoreError names the cause.
int storeNewProperty(RegisterState &cursors, const NewProperty &property);

// The detailed-description record of property `id`, or a null record when it has none. Read
// through a cursor of its own: the shared detailed cursor keeps its place.
Record detailedRecordOf(Database &db, int id);

// Copies the owners of property `id` into the modify window's emptied working list.
void loadWorkingOwners(RegisterState &cursors, int id);

// Saves the changes into the current property of `tEgyszeru`: its record, its owners (replaced
// by the working list), its photos and its detailed description, all or nothing. Photos are
// shrunk into temporary files first and put in place only once the tables are committed. The
// change log names the fields, owners and detailed description that changed.
// Throws StoreError with a Hungarian message; then nothing has changed.
void saveModifiedProperty(RegisterState &cursors, const PropertyChanges &changes);
