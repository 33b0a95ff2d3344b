#pragma once

#include "store/cursor.h"
#include "store/database.h"
#include "store/tables.h"
#include "store/workinglist.h"

// The shared register state: the cursors of the register, shared by the main window and every
// window working on the tables. The property cursor `tEgyszeru` is shared state: its filter, order
// and current record are what the panels and windows hand to each other. The main window owns this
// and passes it to whatever works on the tables. The new-property panel (`tdTulaj`) and the modify
// window keep their owners in working lists of their own. The handouts (`tErdeklodo`), the requests
// (`tErdeklodes`) and the messages (`tHirek`) stay closed except while their window or a print
// run uses them; they live here so that no window owns what another one reads.
struct RegisterState
{
    explicit RegisterState(Database &database)
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
        , tErdeklodo(database, tables::erdeklodok, false)
        , tErdeklodes(database, tables::erdeklodes, false)
        , tHirek(database, tables::hirek, false)
    {
        tErdeklodo.setObjectName(QStringLiteral("tErdeklodo"));
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
    Cursor tErdeklodo;
    Cursor tErdeklodes;
    Cursor tHirek;
};
