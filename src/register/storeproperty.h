#pragma once

#include <QString>
#include <QStringList>
#include <QVariantMap>
#include <functional>
#include <optional>

class Cursor;
struct RegisterState;

// Everything the new-property form hands over for one store. `fields` holds the property
// table's fields as they are to be written (numbers already rounded where the table wants whole
// numbers, memos already in their stored form); the store adds the bookkeeping fields itself.
struct NewProperty
{
    QVariantMap fields;
    QStringList photos; // the photo list, in slot order
    int photoCount = 0; // as the form shows it: only this many entries are stored
    bool detailed = false; // a detailed-description record is written
    // Fills the detailed-description record (appended, identifier and link already set).
    std::function<void(Cursor &reszletes)> writeDetailed;

    QString text(const char *field) const
    {
        return fields.value(QString::fromLatin1(field)).toString();
    }
};

// The first check a new property fails: its message and the objectName of the control that
// gets the focus.
struct CheckFailure
{
    QString message;
    QString focus;
};

// Runs the checks in the order the user meets them; the last one looks the identifier up in
// the register through the shared property cursor.
std::optional<CheckFailure> checkNewProperty(const NewProperty &property, Cursor &tEgyszeru);

// Whether the register holds this identifier already, letter case aside. Leaves the cursor's
// filter text set and filtering off.
bool identifierExists(Cursor &tEgyszeru, const QString &identifier);

// Writes the property, its owners from the working list, its photos and (when asked) its
// detailed description as one unit, and returns its new record number. On any failure nothing
// of it stays stored, no photo file of it is left behind, and a StoreError names the cause.
int storeNewProperty(RegisterState &cursors, const NewProperty &property);
