#pragma once

#include "cursor.h"
#include "database.h"
#include "tables.h"

// The nine cursors the main window holds. The property cursor `tEgyszeru` is shared state: its
// filter, order and current record are what the panels and windows hand to each other. The
// main window owns this and passes it to whatever works on the tables.
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
    { }

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
};
