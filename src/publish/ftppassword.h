#pragma once

#include <QString>
#include <optional>

class Cursor;
class SecretStore;

// The portal's FTP password lives in the user's secret store, under a key of the register it
// belongs to; the settings record keeps none. A password an earlier version left in the
// record is moved into the store on the first occasion and blanked there.
namespace ftppassword {

QString key(const QString &dataDir);

// Moves a password still in the settings record; false (the reason in `error`) when the store
// would not take it, in which case the record keeps it so that nothing is lost.
bool migrate(Cursor &tDefaults, SecretStore &store, QString *error);

// The password, empty when none was given; nothing when the store could not be read.
std::optional<QString> read(Cursor &tDefaults, SecretStore &store, QString *error);

bool write(Cursor &tDefaults, SecretStore &store, const QString &password, QString *error);

} // namespace ftppassword
