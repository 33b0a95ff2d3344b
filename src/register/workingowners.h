#pragma once

#include <optional>

class Cursor;

// The working owner list (`dtulaj`) holds the owners of whichever property is being entered or
// modified; this empties it for the next one.
void emptyWorkingOwners(Cursor &tdTulaj);

// The fields an owner record carries, in the order the owner dialogs show them.
inline constexpr const char *ownerFields[] = {"Nev",    "Irsz",  "Varos",  "Utca",
                                              "Szigsz", "Anyja", "Hanyad", "Telefon"};

// Appends every owner `from` shows to `to`, each linked to `propertyId` (`EgyszeruId`) when one
// is given: the one copy between the working list, the register and the archive. Both cursors
// must be open; `from` stays on the record it was on.
void copyOwnerRows(Cursor &from, Cursor &to, std::optional<int> propertyId);
