#include "store/server.h"

#include "store/cp1250.h"
#include "store/storeerror.h"
#include "store/textformat.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>
#include <QSysInfo>
#include <QThread>
#include <libpq-fe.h>
#include <memory>

namespace server {

namespace {

struct OptionsFree
{
    void operator()(PQconninfoOption *options) const { PQconninfoFree(options); }
};

} // namespace

QString quotedValue(const QString &value)
{
    QString escaped = value;
    escaped.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
    escaped.replace(QLatin1Char('\''), QStringLiteral("\\'"));
    return QLatin1Char('\'') + escaped + QLatin1Char('\'');
}

namespace {

// The keywords the address sets, with their values, as libpq reads it (a URI or key=value).
QList<std::pair<QString, QString>> parse(const QString &address)
{
    char *error = nullptr;
    std::unique_ptr<PQconninfoOption, OptionsFree> options(
        PQconninfoParse(address.toUtf8().constData(), &error));
    if (!options) {
        const QString why = error ? QString::fromUtf8(error).trimmed() : QString();
        PQfreemem(error);
        throw StoreError(QStringLiteral("Az adatbázis-szerver címe hibás: %1").arg(why));
    }
    QList<std::pair<QString, QString>> set;
    for (const PQconninfoOption *option = options.get(); option->keyword; ++option) {
        if (option->val)
            set.append({QString::fromUtf8(option->keyword), QString::fromUtf8(option->val)});
    }
    return set;
}

QString literal(const QString &text)
{
    QString quoted = text;
    quoted.replace(QLatin1Char('\''), QStringLiteral("''"));
    return QLatin1Char('\'') + quoted + QLatin1Char('\'');
}

} // namespace

QString fromEnvironment()
{
    return qEnvironmentVariable("PELMORA_DB").trimmed();
}

void configure(QSqlDatabase &db, const QString &address)
{
    QStringList rest;
    bool timeout = false;
    bool keepalives = false;
    bool application = false;
    for (const auto &[key, value] : parse(address)) {
        if (key == QLatin1String("host"))
            db.setHostName(value);
        else if (key == QLatin1String("port"))
            db.setPort(value.toInt());
        else if (key == QLatin1String("dbname"))
            db.setDatabaseName(value);
        else if (key == QLatin1String("user"))
            db.setUserName(value);
        else if (key == QLatin1String("password"))
            db.setPassword(value);
        else
            rest << key + QLatin1Char('=') + quotedValue(value);
        timeout = timeout || key == QLatin1String("connect_timeout");
        keepalives = keepalives || key.startsWith(QLatin1String("keepalives"));
        application = application || key == QLatin1String("application_name");
    }
    // An unreachable server must not hold the window for libpq's default of forever, and one
    // that went away during work is noticed within a minute.
    if (!timeout)
        rest << QStringLiteral("connect_timeout=10");
    if (!keepalives)
        rest << QStringLiteral("keepalives_idle=30") << QStringLiteral("keepalives_interval=10")
             << QStringLiteral("keepalives_count=3");
    // The other workstations are told who holds a run by this name.
    if (!application)
        rest << QStringLiteral("application_name=") +
                quotedValue(QStringLiteral("Pelmora - ") + QSysInfo::machineHostName().left(50));
    db.setConnectOptions(rest.join(QLatin1Char(';')));
}

QString describe(const QString &address)
{
    QString host, port, name, user;
    for (const auto &[key, value] : parse(address)) {
        if (key == QLatin1String("host"))
            host = value;
        else if (key == QLatin1String("port"))
            port = value;
        else if (key == QLatin1String("dbname"))
            name = value;
        else if (key == QLatin1String("user"))
            user = value;
    }
    QString text = user.isEmpty() ? QString() : user + QLatin1Char('@');
    text += host.isEmpty() ? QStringLiteral("localhost") : host;
    if (!port.isEmpty())
        text += QLatin1Char(':') + port;
    if (!name.isEmpty())
        text += QLatin1Char('/') + name;
    return text;
}

QString connectError(const QString &address, const QString &driverText)
{
    QString where;
    try {
        where = describe(address);
    } catch (const StoreError &) {
        where = QStringLiteral("?");
    }
    const QString text = driverText.toLower();
    QString cause;
    if (text.contains(QLatin1String("password authentication failed")) ||
        text.contains(QLatin1String("no password supplied")))
        cause = QStringLiteral("hibás jelszó vagy felhasználónév");
    else if (text.contains(QLatin1String("role")) && text.contains(QLatin1String("does not exist")))
        cause = QStringLiteral("ilyen felhasználó nincs a szerveren");
    else if (text.contains(QLatin1String("database")) &&
             text.contains(QLatin1String("does not exist")))
        cause = QStringLiteral("ilyen adatbázis nincs a szerveren");
    else if (text.contains(QLatin1String("no encryption")))
        cause = QStringLiteral("a szerver csak titkosított (TLS) kapcsolatot fogad el");
    else if (text.contains(QLatin1String("pg_hba.conf")))
        cause = QStringLiteral("a szerver erről a gépről nem enged be");
    else if (text.contains(QLatin1String("certificate")) || text.contains(QLatin1String("ssl")))
        cause = QStringLiteral("a titkosított kapcsolat nem jött létre (tanúsítvány)");
    // The system's own part of the text is in the user's language; libpq's hint is not.
    else if (text.contains(QLatin1String("connection refused")) ||
             text.contains(QLatin1String("accepting tcp/ip connections")) ||
             text.contains(QLatin1String("could not translate host name")) ||
             text.contains(QLatin1String("timeout")) || text.contains(QLatin1String("timed out")) ||
             text.contains(QLatin1String("no route")))
        cause = QStringLiteral("a szerver nem érhető el");
    else
        cause = QStringLiteral("a szerver elutasította a kapcsolatot");
    return QStringLiteral("Az adatbázis-szerverhez (%1) nem sikerült kapcsolódni: %2.\n\n%3")
        .arg(where, cause, driverText.trimmed());
}

std::optional<QString> probe(const QString &address, QString *error)
{
    const QString name = QStringLiteral("pelmora-probe-%1")
                             .arg(reinterpret_cast<quintptr>(QThread::currentThread()));
    std::optional<QString> version;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), name);
        try {
            configure(db, address);
            if (!db.open()) {
                *error = connectError(address, db.lastError().text());
            } else {
                QSqlQuery query(db);
                if (query.exec(QStringLiteral("SHOW server_version")) && query.next())
                    version = query.value(0).toString();
                else
                    *error = query.lastError().text();
            }
        } catch (const StoreError &failure) {
            *error = failure.message();
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    return version;
}

QString foldFunction()
{
    // Every text is stored in the Windows-1250 repertoire, so folding those characters as the
    // program folds them folds every stored text the same on the server.
    QString from, to;
    QList<std::pair<QString, QString>> longer;
    for (int byte = 0x20; byte < 0x100; ++byte) {
        const QString character = cp1250::decode(QByteArray(1, char(byte)));
        if (character == QLatin1String("?") && byte != '?')
            continue;
        const QString folded = textformat::fold(character);
        if (folded == character)
            continue;
        if (folded.size() == 1) {
            from += character;
            to += folded;
        } else {
            longer.append({character, folded});
        }
    }
    QString body = QStringLiteral("translate(t, %1, %2)").arg(literal(from), literal(to));
    for (const auto &[character, folded] : std::as_const(longer))
        body = QStringLiteral("replace(%1, %2, %3)").arg(body, literal(character), literal(folded));
    return QStringLiteral("CREATE OR REPLACE FUNCTION pelmora_fold(t text) RETURNS text "
                          "LANGUAGE sql IMMUTABLE STRICT PARALLEL SAFE AS $$ SELECT %1 $$")
        .arg(body);
}

} // namespace server
