#pragma once

#include "store/tabledef.h"

// Every table of the register, defined once. Creation, field access, cursors and copying all
// read these definitions; nothing else spells a field list.
namespace tables {

inline const QString egyszeru = QStringLiteral("egyszeru");
inline const QString reszletes = QStringLiteral("reszletes");
inline const QString tulajdonos = QStringLiteral("tulajdonos");
inline const QString dtulaj = QStringLiteral("dtulaj");
inline const QString archiv = QStringLiteral("archiv");
inline const QString archivtulaj = QStringLiteral("archivtulaj");
inline const QString defaults = QStringLiteral("defaults");
inline const QString telepules = QStringLiteral("telepules");
inline const QString itypes = QStringLiteral("itypes");
inline const QString erdeklodok = QStringLiteral("erdeklodok");
inline const QString erdeklodes = QStringLiteral("erdeklodes");
inline const QString hirek = QStringLiteral("hirek");
inline const QString hirkivonat = QStringLiteral("hirkivonat");
inline const QString ftpkapcsolat = QStringLiteral("ftpkapcsolat");
// Photo renames and removals a committed unit still owes the Images folder (file names only).
inline const QString kepcsere = QStringLiteral("kepcsere");
// The office server's photos, by file name: their bytes and digest. Kept apart from the table
// list, as the embedded register keeps its photos as files of the Images folder.
inline const QString kepadat = QStringLiteral("pelmora_kepek");
// Who did what to which property, and every upload run: the office's change log.
inline const QString naplo = QStringLiteral("naplo");

const QList<TableDef> &all();
const TableDef &def(const QString &tableName);
// A field of a table by name (case-blind), and the characters a text field keeps. A window asks
// here rather than repeat a width, so its controls never take more than the table stores.
// Both throw StoreError for a table or field the list does not have.
const FieldDef &field(const QString &tableName, const QString &fieldName);
int width(const QString &tableName, const QString &fieldName);

// The `Version` of the settings record: the register's version as the start-up check and the
// portal's files know it. It stays 3 whatever the tables gain.
constexpr int databaseVersion = 3;

// The layout of the tables, counted apart from `Version`: 1 is the twelve tables of the first
// build; 2 brought the portal entries' digests, the FTP connection, the photo moves and the
// working lists' names; 3 made the price order without the print mark, so that clearing the print
// list does not rewrite it, and indexed the handouts by property; 4 brought the change log and
// counted every row's saves; 5 keeps an office server's photos in its database. Each table, field and index says which layout brought it.
constexpr int layoutVersion = 5;

// Beside its row id every row carries the count of its saves, kept by the table layer alone and
// never a field: a save of a record that another workstation saved since it was read is
// refused. Layout 4 brought it.
inline const QString rowVersionColumn = QStringLiteral("rowversion");
constexpr int rowVersionSince = 4;

} // namespace tables
