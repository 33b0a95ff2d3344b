#pragma once

#include <QString>

class Database;

// Where the register lives and what a new one starts with.
namespace datadirectory {

// The folder the alias `Pelmora` stands for: PELMORA_DATA when set (tests, and agencies that
// keep their data elsewhere), else ~/.local/share/Pelmora. Ends with a path separator.
QString resolve();

// The rows a new register starts with: the settings record (version 3) and the property types
// and settlements delivered with the program. The seed of the database that makes the tables,
// so the register is made whole or not at all.
void seed(Database &db);

// For a database made just now: the licence text. A database that was there already is left as
// it is. Either way a missing photo folder is made, and the photo folder is brought in step
// with the records, as a crash may have left it.
void prepare(Database &db);

QString imagesDir(const QString &dataDir); // with a trailing separator
QString lockFilePath(const QString &dataDir);
QString licencePath(const QString &dataDir);

} // namespace datadirectory
