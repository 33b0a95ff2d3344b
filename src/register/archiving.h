#pragma once

#include <QStringList>

struct RegisterState;

// The reasons a property leaves the register, in the order the delete window offers them; the
// last one ("egyéb") stands for a reason typed by hand.
QStringList deletionReasons();

// Moves the current property of `tEgyszeru` into the archive with the reason given: a copy of
// its record (its own new `Id`, `Stop` the time of archiving, `Ok` the reason) and copies of its
// owners linked to that copy; then its owners and the property leave the register. Its detailed
// description and photo files stay. The change log tells of it under both numbers. All or
// nothing; throws StoreError.
void archiveProperty(RegisterState &cursors, const QString &reason);

// Deletes the current property of `tEgyszeru` and its owners without keeping anything.
void deletePropertyOutright(RegisterState &cursors);

// Deletes the current record of `tArchiv` and its archived owners for good; `tArchiv` moves on
// to the record that followed.
void deleteArchivedProperty(RegisterState &cursors);
