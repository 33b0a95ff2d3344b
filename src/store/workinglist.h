#pragma once

#include <QString>

class Cursor;
class Database;

// The working owner list (`dtulaj`) is scratch storage: each window that enters or modifies a
// property keeps its owners there until the property is stored. Every list is tagged with a name
// of its own, so two windows, or two copies of the program on one data directory, never see or
// store each other's owners.
namespace workinglist {

// The field of `dtulaj` naming the list a row belongs to.
inline const QString field = QStringLiteral("Munkalista");

// Binds the cursor to a fresh list of its own, empty to begin with.
void makePrivate(Cursor &cursor);

// Empties the cursor's own list, as one unit; the other lists stay.
void empty(Cursor &list);

// Removes the rows of every list, as one unit. Only for a start that found no other copy
// running: every list then belongs to a window that is gone. On the office server only the
// lists of workstations whose session has ended go.
void clearAbandoned(Database &db);

} // namespace workinglist
