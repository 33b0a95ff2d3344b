#pragma once

#include <QStringList>

class Cursor;

// Every `Name` of a reference table (the property types, the settlements) in the order the
// cursor shows them: the lists that the entry, modify and request windows offer. A type is kept
// by its position in this list, so every window must read it the same way. The cursor is left
// open or closed as it was, and on the record it was on.
QStringList nameList(Cursor &cursor);
