#pragma once

#include "tabledef.h"

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

const QList<TableDef> &all();
const TableDef &def(const QString &tableName);

// The database layout this program runs on.
constexpr int databaseVersion = 3;

} // namespace tables
