#pragma once

class Cursor;

// The working owner list (`dtulaj`) holds the owners of whichever property is being entered or
// modified; this empties it for the next one.
void emptyWorkingOwners(Cursor &tdTulaj);

// The fields an owner record carries, in the order the owner dialogs show them.
inline constexpr const char *ownerFields[] = {"Nev",    "Irsz",  "Varos",  "Utca",
                                              "Szigsz", "Anyja", "Hanyad", "Telefon"};
