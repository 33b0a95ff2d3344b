#include "store/connectionsetting.h"

#include "store/secretstore.h"
#include "store/server.h"
#include "store/storeerror.h"

#include <QSettings>
#include <QStringList>

namespace connectionsetting {

namespace {

QSettings configuration()
{
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Pelmora"),
                     QStringLiteral("Pelmora"));
}

} // namespace

Setting load()
{
    QSettings store = configuration();
    Setting setting;
    setting.server = store.value(QStringLiteral("adatbazis/szerver"), false).toBool();
    setting.host = store.value(QStringLiteral("adatbazis/gep")).toString();
    setting.port = store.value(QStringLiteral("adatbazis/port"), 5432).toInt();
    setting.database =
        store.value(QStringLiteral("adatbazis/nev"), QStringLiteral("pelmora")).toString();
    setting.user = store.value(QStringLiteral("adatbazis/felhasznalo")).toString();
    setting.sslMode =
        store.value(QStringLiteral("adatbazis/sslmode"), QStringLiteral("prefer")).toString();
    setting.caFile = store.value(QStringLiteral("adatbazis/ca")).toString();
    return setting;
}

void save(const Setting &setting)
{
    QSettings store = configuration();
    store.setValue(QStringLiteral("adatbazis/szerver"), setting.server);
    store.setValue(QStringLiteral("adatbazis/gep"), setting.host);
    store.setValue(QStringLiteral("adatbazis/port"), setting.port);
    store.setValue(QStringLiteral("adatbazis/nev"), setting.database);
    store.setValue(QStringLiteral("adatbazis/felhasznalo"), setting.user);
    store.setValue(QStringLiteral("adatbazis/sslmode"), setting.sslMode);
    store.setValue(QStringLiteral("adatbazis/ca"), setting.caFile);
    store.sync();
    if (store.status() != QSettings::NoError)
        throw StoreError(QStringLiteral("A beállítások nem menthetők: %1").arg(store.fileName()));
}

QString passwordKey(const Setting &setting)
{
    return QStringLiteral("adatbazis:%1@%2:%3/%4")
        .arg(setting.user, setting.host)
        .arg(setting.port)
        .arg(setting.database);
}

QString address(const Setting &setting, const QString &password)
{
    if (!setting.server)
        return QString();
    QStringList parts;
    parts << QStringLiteral("host=") + server::quotedValue(setting.host)
          << QStringLiteral("port=%1").arg(setting.port)
          << QStringLiteral("dbname=") + server::quotedValue(setting.database);
    if (!setting.user.isEmpty())
        parts << QStringLiteral("user=") + server::quotedValue(setting.user);
    if (!password.isEmpty())
        parts << QStringLiteral("password=") + server::quotedValue(password);
    if (!setting.sslMode.isEmpty())
        parts << QStringLiteral("sslmode=") + server::quotedValue(setting.sslMode);
    if (!setting.caFile.isEmpty())
        parts << QStringLiteral("sslrootcert=") + server::quotedValue(setting.caFile);
    return parts.join(QLatin1Char(' '));
}

QString effectiveAddress(QString *warning)
{
    QString named = server::fromEnvironment();
    if (!named.isEmpty())
        return named;
    const Setting setting = load();
    if (!setting.server)
        return QString();
    SecretStore secrets;
    QString error;
    const std::optional<QString> password = secrets.read(passwordKey(setting), &error);
    if (!password && warning)
        *warning = error;
    return address(setting, password.value_or(QString()));
}

QString problem(const Setting &setting)
{
    if (!setting.server)
        return QString();
    if (setting.host.trimmed().isEmpty())
        return QStringLiteral("Adja meg a szerver nevét vagy címét!");
    if (setting.database.trimmed().isEmpty())
        return QStringLiteral("Adja meg az adatbázis nevét!");
    if (setting.port <= 0 || setting.port > 65535)
        return QStringLiteral("A port 1 és 65535 közötti szám.");
    return QString();
}

} // namespace connectionsetting
