#pragma once

#include <QStringList>

class Database;
struct TableDef;

// The tables' layout in the file: making it, and bringing a register of an earlier layout up
// to this program's, step by step (tables::layoutVersion). The layout is counted in the file's
// own header, apart from the settings record's `Version`, which the portal's files and the
// start-up check read.
namespace schema {

// The layout the file says it has: 0 for a register of a build that counted none.
int layoutOf(Database &db);
bool hasTables(Database &db);

// Every column a row of the table stores but its row id (and a record number, which is the row
// id): the fields, the folded copies and sort keys beside them, the save count.
QStringList storedColumns(const TableDef &table);

// Every table and index of the list, and the layout count. Run inside a unit.
void create(Database &db);
// The steps after `from`, each adding the tables and columns its layout brought; the rows
// stay. A register of a build that counted no layout may hold any part of the later steps
// already, so every step adds only what is missing. Run inside a unit.
void upgrade(Database &db, int from);

} // namespace schema
