#include "tests/support/testserver.h"

#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QUrl>
#include <QUuid>
#include <stdexcept>

namespace testserver {

namespace {

// One statement on its own short connection, so no test's connection outlives what it made.
void execOn(const QString &uri, const QString &sql)
{
    const QString name = QStringLiteral("testserver-") + QUuid::createUuid().toString();
    QString error;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), name);
        const QUrl url(uri);
        db.setHostName(url.host());
        db.setPort(url.port());
        db.setUserName(url.userName());
        db.setPassword(url.password());
        db.setDatabaseName(url.path().mid(1));
        if (!db.open())
            error = db.lastError().text();
        else if (QSqlQuery query(db); !query.exec(sql))
            error = query.lastError().text();
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    if (!error.isEmpty())
        throw std::runtime_error((sql + QStringLiteral(": ") + error).toStdString());
}

} // namespace

bool active()
{
    return !qEnvironmentVariable("PELMORA_TEST_SERVER_FILE").isEmpty();
}

QString adminUri()
{
    QFile file(qEnvironmentVariable("PELMORA_TEST_SERVER_FILE"));
    if (!file.open(QIODevice::ReadOnly))
        throw std::runtime_error("the test server's URI file cannot be read");
    return QString::fromUtf8(file.readAll()).trimmed();
}

QString uriFor(const QString &name)
{
    QUrl url(adminUri());
    url.setPath(QLatin1Char('/') + name);
    return url.toString();
}

QString createDatabase()
{
    const QString name = QStringLiteral("t_") + QUuid::createUuid().toString(QUuid::Id128).left(16);
    execOn(adminUri(), QStringLiteral("CREATE DATABASE %1").arg(name));
    return name;
}

void dropDatabase(const QString &name)
{
    execOn(adminUri(), QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(name));
}

void run(const QString &name, const QString &sql)
{
    execOn(uriFor(name), sql);
}

} // namespace testserver
