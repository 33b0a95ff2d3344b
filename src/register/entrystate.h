#pragma once

#include <QList>
#include <QStringList>
#include <QVariantList>
#include <QVariantMap>

class Cursor;

// What an entry window holds, to be compared with what it held when it was last loaded or
// stored: a difference is typed input that clearing or closing the window would lose.
struct EntryState
{
    QVariantMap fields; // the window's own controls, as the store takes them
    QVariantMap detailed; // the detailed description
    QList<QVariantList> owners; // the working owner list, row by row
    QStringList photos;
    int photoCount = 0;

    friend bool operator==(const EntryState &, const EntryState &) = default;
};

// The rows of the working owner list in their order, each with the fields the owner dialogs edit.
QList<QVariantList> workingOwnerRows(Cursor &owners);
