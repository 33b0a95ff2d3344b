#include "tests/support/serveradmin.h"

#include "store/server.h"
#include "store/storeerror.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QUrl>
#include <QUuid>
#include <stdexcept>

namespace serveradmin {

QString withDatabase(const QString &address, const QString &name)
{
    const QString trimmed = address.trimmed();
    if (trimmed.startsWith(QLatin1String("postgresql://")) ||
        trimmed.startsWith(QLatin1String("postgres://"))) {
        QUrl url(trimmed);
        url.setPath(QLatin1Char('/') + name);
        return url.toString();
    }
    // libpq takes the last value of a keyword given twice.
    return trimmed + QStringLiteral(" dbname=") + server::quotedValue(name);
}

void exec(const QString &address, const QString &sql)
{
    const QString name = QStringLiteral("serveradmin-") + QUuid::createUuid().toString();
    QString error;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), name);
        try {
            server::configure(db, address);
            if (!db.open())
                error = db.lastError().text();
            else if (QSqlQuery query(db); !query.exec(sql))
                error = query.lastError().text();
        } catch (const StoreError &bad) {
            error = bad.message();
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    if (!error.isEmpty())
        throw std::runtime_error((sql + QStringLiteral(": ") + error).toStdString());
}

QString createDatabase(const QString &address, const QString &prefix)
{
    const QString name = prefix + QUuid::createUuid().toString(QUuid::Id128).left(16);
    exec(address, QStringLiteral("CREATE DATABASE %1").arg(name));
    return name;
}

void dropDatabase(const QString &address, const QString &name)
{
    exec(address, QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(name));
}

} // namespace serveradmin
