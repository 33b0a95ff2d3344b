#pragma once

#include "cursor.h"
#include "database.h"
#include "tables.h"
#include "workinglist.h"

// The cursors the main window holds. The property cursor `tEgyszeru` is shared state: its
// filter, order and current record are what the panels and windows hand to each other. The
// main window owns this and passes it to whatever works on the tables. The new-property panel
// (`tdTulaj`) and the modify window keep their owners in working lists of their own.
struct MainCursors
{
    explicit MainCursors(Database &database)
        : db(database)
        , tEgyszeru(database, tables::egyszeru, true)
        , tReszletes(database, tables::reszletes, false)
        , tTulajdonos(database, tables::tulajdonos, false)
        , tdTulaj(database, tables::dtulaj, false)
        , tArchiv(database, tables::archiv, false)
        , tArchivTulaj(database, tables::archivtulaj, false)
        , tDefaults(database, tables::defaults, false)
        , tTelep(database, tables::telepules, true)
        , tItypes(database, tables::itypes, true)
        , modifyWorkingOwners(database, tables::dtulaj, false)
    {
        workinglist::makePrivate(tdTulaj);
        workinglist::makePrivate(modifyWorkingOwners);
    }

    Database &db;
    Cursor tEgyszeru;
    Cursor tReszletes;
    Cursor tTulajdonos;
    Cursor tdTulaj;
    Cursor tArchiv;
    Cursor tArchivTulaj;
    Cursor tDefaults;
    Cursor tTelep;
    Cursor tItypes;
    Cursor modifyWorkingOwners;
};
