#include "publish/ftppassword.h"

#include "store/cursor.h"
#include "store/secretstore.h"

#include <QDir>

namespace {

const QString field = QStringLiteral("Ftppass");

} // namespace

namespace ftppassword {

QString key(const QString &dataDir)
{
    const QString canonical = QDir(dataDir).canonicalPath();
    return QStringLiteral("ftp:") + (canonical.isEmpty() ? QDir::cleanPath(dataDir) : canonical);
}

bool migrate(Cursor &tDefaults, SecretStore &store, QString *error)
{
    if (!tDefaults.isOpen())
        tDefaults.open();
    if (tDefaults.isEmpty())
        return true;
    const QString left = tDefaults.text(field);
    if (left.isEmpty())
        return true;
    if (!store.write(key(tDefaults.dataDir()), left, error))
        return false;
    tDefaults.edit();
    tDefaults.setValue(field, QString());
    tDefaults.post();
    return true;
}

std::optional<QString> read(Cursor &tDefaults, SecretStore &store, QString *error)
{
    if (!migrate(tDefaults, store, error))
        return std::nullopt;
    return store.read(key(tDefaults.dataDir()), error);
}

bool write(Cursor &tDefaults, SecretStore &store, const QString &password, QString *error)
{
    if (!migrate(tDefaults, store, error))
        return false;
    const QString where = key(tDefaults.dataDir());
    return password.isEmpty() ? store.remove(where, error) : store.write(where, password, error);
}

} // namespace ftppassword
