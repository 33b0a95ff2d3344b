#pragma once

#include <QString>

class Database;

// Where the register lives and what a new one starts with.
namespace datadirectory {

// The folder the alias `Pelmora` stands for: PELMORA_DATA when set (tests, and agencies that
// keep their data elsewhere), else ~/.local/share/Pelmora. Ends with a path separator.
QString resolve();

// For a database made just now: the settings record (version 3), the property types and
// settlements delivered with the program, the photo folder and the licence text. A database
// that was there already is left as it is, apart from a missing photo folder. Either way the
// photo folder is then brought in step with the records, as a crash may have left it.
void prepare(Database &db);

QString imagesDir(const QString &dataDir); // with a trailing separator
QString lockFilePath(const QString &dataDir);
QString licencePath(const QString &dataDir);

} // namespace datadirectory
