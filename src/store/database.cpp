#include "store/database.h"

#include "store/cursor.h"
#include "store/schema.h"
#include "store/server.h"
#include "store/storeerror.h"
#include "store/tables.h"
#include "store/textformat.h"

#include <QDir>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QUuid>
#include <libpq-fe.h>
#include <sqlite3.h>

namespace {

// Whether a failed statement failed for a server that went away. libpq marks most such
// connections bad; a TLS connection cut off says so only in its error, and a server shutting
// down says it in its code (connection exceptions, admin or crash shutdown).
bool connectionLost(const QSqlDatabase &db, const QSqlError &error)
{
    // Qt SQL closes a connection it found broken.
    if (!db.isOpen())
        return true;
    const QString code = error.nativeErrorCode();
    if (code.startsWith(QLatin1String("08")) || code.startsWith(QLatin1String("57P0")))
        return true;
    const QString text = error.text().toLower();
    for (const char *sign : {"ssl syscall error", "eof detected", "server closed the connection",
                             "no connection to the server", "could not send data to server",
                             "could not receive data from server", "connection to server was lost",
                             "terminating connection"}) {
        if (text.contains(QLatin1String(sign)))
            return true;
    }
    const QVariant handle = db.driver()->handle();
    if (!handle.isValid() || qstrcmp(handle.typeName(), "PGconn*") != 0)
        return false;
    const PGconn *connection = *static_cast<PGconn *const *>(handle.constData());
    return !connection || PQstatus(connection) == CONNECTION_BAD;
}

// SQLite folds ASCII only; case-blind filters on fields without a stored folded copy go
// through this, with the same folding as the copies.
void foldFunction(sqlite3_context *context, int, sqlite3_value **argv)
{
    const auto *text = reinterpret_cast<const char16_t *>(sqlite3_value_text16(argv[0]));
    if (!text) {
        sqlite3_result_null(context);
        return;
    }
    const int bytes = sqlite3_value_bytes16(argv[0]);
    const QString folded = textformat::fold(QString::fromUtf16(text, bytes / 2));
    sqlite3_result_text16(context, folded.utf16(), static_cast<int>(folded.size() * 2),
                          SQLITE_TRANSIENT);
}

} // namespace

QString ConflictError::conflictMessage(const QString &table, bool gone)
{
    QString what = QStringLiteral("A rekordot");
    if (table == tables::egyszeru || table == tables::reszletes || table == tables::tulajdonos)
        what = QStringLiteral("Az ingatlant");
    else if (table == tables::erdeklodes)
        what = QStringLiteral("A keresést");
    else if (table == tables::erdeklodok)
        what = QStringLiteral("Az érdeklődőt");
    else if (table == tables::defaults)
        what = QStringLiteral("A beállításokat");
    if (gone)
        return QStringLiteral("%1 közben egy másik munkaállomáson archiválták vagy törölték. A "
                              "módosítás nem került mentésre.")
            .arg(what);
    return QStringLiteral("%1 közben egy másik munkaállomáson módosították. A módosítás nem "
                          "került mentésre: az \"Újraolvasás\" gombbal betöltheti a mostani "
                          "adatokat, majd újra elvégezheti a módosítást.")
        .arg(what);
}

Database::Database(const QString &dataDir, QObject *parent)
    : Database(dataDir, Seed(), parent)
{ }

Database::Database(const QString &dataDir, const Seed &seed, QObject *parent)
    : Database(dataDir, seed, server::fromEnvironment(), parent)
{ }

Database::Database(const QString &dataDir, const Seed &seed, const QString &server, QObject *parent)
    : QObject(parent)
    , m_dataDir(QDir::cleanPath(dataDir) + QLatin1Char('/'))
    , m_server(server.trimmed())
    , m_connectionName(QStringLiteral("pelmora-") +
                       QUuid::createUuid().toString(QUuid::WithoutBraces))
{
    if (!QDir().mkpath(m_dataDir))
        throw StoreError(QStringLiteral("Az adatkönyvtár nem hozható létre: %1").arg(m_dataDir));
    openConnection();
    try {
        open(seed);
    } catch (...) {
        // The destructor does not run for a constructor that throws.
        {
            QSqlDatabase db = connection();
            db.close();
        }
        QSqlDatabase::removeDatabase(m_connectionName);
        throw;
    }
}

void Database::openConnection()
{
    const QString path = m_dataDir + QLatin1String(fileName);
    QSqlDatabase db = QSqlDatabase::addDatabase(
        isServer() ? QStringLiteral("QPSQL") : QStringLiteral("QSQLITE"), m_connectionName);
    try {
        if (isServer()) {
            if (!db.isValid())
                throw StoreError(QStringLiteral("Az adatbázis-szerverhez szükséges Qt-meghajtó "
                                                "(QPSQL) nincs telepítve."));
            server::configure(db, m_server);
        } else {
            db.setDatabaseName(path);
        }
        if (!db.open())
            throw StoreError(isServer() ? server::connectError(m_server, db.lastError().text())
                                        : QStringLiteral("Az adatbázis nem nyitható meg (%1): %2")
                                              .arg(path, db.lastError().text()));
    } catch (...) {
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(m_connectionName);
        throw;
    }
}

void Database::setUpSession()
{
    if (isServer()) {
        exec(QStringLiteral("SET client_min_messages = warning"));
        // No statement holds the window for long: one the server has not finished in half a
        // minute is stopped, and a row another workstation holds is waited for ten seconds.
        exec(QStringLiteral("SET statement_timeout = '30s'"));
        exec(QStringLiteral("SET lock_timeout = '10s'"));
        return;
    }
    registerFold();
    exec(QStringLiteral("PRAGMA foreign_keys = OFF"));
    exec(QStringLiteral("PRAGMA journal_mode = WAL"));
    exec(QStringLiteral("PRAGMA synchronous = NORMAL"));
    exec(QStringLiteral("PRAGMA mmap_size = 1073741824"));
}

void Database::open(const Seed &seed)
{
    setUpSession();
    listen();
    // Decided by what the database holds, not by whether it was there: a first start killed
    // before its commit leaves a file without tables, and the next start makes the register
    // again.
    if (!schema::hasTables(*this)) {
        Transaction unit(*this);
        schema::create(*this);
        if (seed)
            seed(*this);
        unit.commit();
        m_createdNow = true;
        return;
    }
    const int layout = schema::layoutOf(*this);
    if (layout > tables::layoutVersion)
        throw StoreError(
            QStringLiteral("Az adatbázist a program egy újabb változata készítette (%1. "
                           "elrendezés; ez a program a %2. elrendezésig ismeri). Frissítse a "
                           "programot ezen a munkaállomáson.")
                .arg(layout)
                .arg(tables::layoutVersion));
    if (layout < tables::layoutVersion) {
        Transaction unit(*this);
        schema::upgrade(*this, layout);
        unit.commit();
    }
}

Database::~Database()
{
    {
        QSqlDatabase db = connection();
        if (db.isOpen()) {
            if (!isServer())
                QSqlQuery(db).exec(QStringLiteral("PRAGMA optimize"));
            db.close();
        }
    }
    QSqlDatabase::removeDatabase(m_connectionName);
}

QSqlDatabase Database::connection() const
{
    return QSqlDatabase::database(m_connectionName, false);
}

void Database::tableChanged(const QString &table)
{
    ++m_generations[table];
    if (m_units.empty()) {
        announce({table});
        emit changed(table);
        return;
    }
    QStringList &touched = m_units.back().tables;
    if (!touched.contains(table))
        touched << table;
}

void Database::listen()
{
    if (!isServer())
        return;
    QSqlDriver *driver = connection().driver();
    if (!driver->subscribeToNotification(QLatin1String(changeChannel)))
        throw StoreError(QStringLiteral("Az adatbázis-szerver nem küld értesítést a többi "
                                        "munkaállomás változásairól: %1")
                             .arg(driver->lastError().text()));
    QObject::connect(driver, &QSqlDriver::notification, this, &Database::heard,
                     Qt::UniqueConnection);
}

void Database::announce(const QStringList &tables)
{
    if (!isServer() || tables.isEmpty())
        return;
    query(QStringLiteral("SELECT pg_notify(?, ?)"),
          {QLatin1String(changeChannel), tables.join(QLatin1Char(','))});
}

// Another workstation committed: what this one holds of those tables is stale, and the views
// on them read again, each keeping its current record.
void Database::heard(const QString &channel, QSqlDriver::NotificationSource source,
                     const QVariant &payload)
{
    if (channel != QLatin1String(changeChannel) || source == QSqlDriver::SelfSource)
        return;
    const QStringList names = payload.toString().split(QLatin1Char(','), Qt::SkipEmptyParts);
    for (const QString &table : names) {
        bool known = false;
        for (const TableDef &def : tables::all())
            known = known || def.name == table;
        if (!known)
            continue;
        ++m_generations[table];
        if (!m_units.empty()) {
            if (!m_units.back().tables.contains(table))
                m_units.back().tables << table;
            continue;
        }
        emit changed(table);
    }
}

void Database::cursorWrites(Cursor &cursor, qint64 rowId, int position)
{
    if (m_units.empty())
        return;
    std::vector<Touched> &touched = m_units.back().cursors;
    for (const Touched &entry : touched) {
        if (entry.cursor == &cursor)
            return;
    }
    touched.push_back({&cursor, rowId, position});
}

void Database::exec(const QString &sql)
{
    for (int attempt = 0;; ++attempt) {
        QSqlQuery query(connection());
        if (query.exec(sql))
            return;
        bool retry = false;
        const QString error = failure(query.lastError(), attempt, &retry);
        if (!retry)
            throw StoreError(error);
    }
}

QSqlQuery Database::query(const QString &sql, const QVariantList &binds)
{
    for (int attempt = 0;; ++attempt) {
        QSqlQuery query(connection());
        // Qt's PostgreSQL driver streams a forward-only result row by row, and the next
        // statement on the connection cuts the rest of it off unseen: a scan whose visitor
        // reads something, or a print run whose progress window lets a refresh in, would lose
        // records. The server's results are kept whole instead; SQLite steps as before.
        query.setForwardOnly(!isServer());
        bool done = query.prepare(sql);
        if (done) {
            for (const QVariant &bind : binds)
                query.addBindValue(bind);
            done = query.exec();
        }
        if (done)
            return query;
        bool retry = false;
        const QString error = failure(query.lastError(), attempt, &retry);
        if (!retry)
            throw StoreError(error);
    }
}

QString Database::failure(const QSqlError &error, int attempt, bool *retry)
{
    if (!isServer())
        return databaseError(error);
    if (connectionLost(connection(), error)) {
        *retry = attempt == 0 && m_units.empty() && reconnect();
        return QStringLiteral("A kapcsolat az adatbázis-szerverrel megszakadt, a művelet nem "
                              "került mentésre. A program újra kapcsolódik, amint a szerver "
                              "elérhető: ismételje meg a műveletet.");
    }
    // query_canceled by the statement timeout, lock_not_available by the lock timeout.
    if (error.nativeErrorCode() == QLatin1String("57014"))
        return QStringLiteral("Az adatbázis-szerver nem végzett időben a művelettel, ezért a "
                              "program leállította. Próbálja újra később.");
    if (error.nativeErrorCode() == QLatin1String("55P03"))
        return QStringLiteral("Egy másik munkaállomás éppen ugyanezt menti. Próbálja újra egy "
                              "kicsit később.");
    return databaseError(error);
}

bool Database::reconnect()
{
    QSqlDatabase db = connection();
    db.close();
    if (!db.open())
        return false;
    try {
        setUpSession();
        listen();
    } catch (const StoreError &) {
        return false;
    }
    // What the other workstations committed meanwhile was never heard of.
    for (const TableDef &table : tables::all()) {
        ++m_generations[table.name];
        emit changed(table.name);
    }
    return true;
}

QString Database::returningRowId() const
{
    // SQLite tells the last row id of the connection; the server says it in the answer.
    return isServer() ? QStringLiteral(" RETURNING rowid") : QString();
}

qint64 Database::insertedRowId(QSqlQuery &query) const
{
    if (!isServer())
        return query.lastInsertId().toLongLong();
    return query.next() ? query.value(0).toLongLong() : 0;
}

void Database::registerFold()
{
    QVariant handle = connection().driver()->handle();
    auto *sqlite = handle.isValid() ? *static_cast<sqlite3 **>(handle.data()) : nullptr;
    if (!sqlite)
        throw StoreError(QStringLiteral("Az adatbázis-kezelő nem érhető el."));
    sqlite3_create_function_v2(sqlite, "pelmora_fold", 1, SQLITE_UTF16 | SQLITE_DETERMINISTIC,
                               nullptr, foldFunction, nullptr, nullptr, nullptr);
}

// An inner unit's cursors and tables become the outer one's: they are undone or announced with
// it. The outer unit keeps where a cursor stood before its own first write.
void Database::endUnit(bool committed)
{
    Unit finished = std::move(m_units.back());
    m_units.pop_back();
    if (!committed)
        rollBack(finished);
    if (!m_units.empty()) {
        Unit &outer = m_units.back();
        for (const QString &table : std::as_const(finished.tables)) {
            if (!outer.tables.contains(table))
                outer.tables << table;
        }
        if (committed) {
            for (const Touched &entry : finished.cursors) {
                if (entry.cursor)
                    cursorWrites(*entry.cursor, entry.rowId, entry.position);
            }
        }
        return;
    }
    if (committed) {
        for (const QString &table : std::as_const(finished.tables))
            emit changed(table);
    }
}

// What the unit wrote is gone: every cursor of its tables reads them again, and the cursors
// that wrote drop their edits and go back to the record they were on.
void Database::rollBack(Unit &unit)
{
    for (const QString &table : std::as_const(unit.tables))
        ++m_generations[table];
    for (const Touched &entry : unit.cursors) {
        if (entry.cursor)
            entry.cursor->restoreAfterRollback(entry.rowId, entry.position);
    }
}

Database::Transaction::Transaction(Database &db)
    : m_db(db)
    , m_depth(static_cast<int>(db.m_units.size()))
{
    // SQLite takes the write lock at once, so a unit never fails half-way for a second copy's
    // writes; the server locks each row as it is written.
    const QString begin =
        m_db.isServer() ? QStringLiteral("BEGIN") : QStringLiteral("BEGIN IMMEDIATE");
    m_db.exec(m_depth == 0 ? begin : QStringLiteral("SAVEPOINT unit%1").arg(m_depth));
    m_db.m_units.emplace_back();
}

void Database::Transaction::commit()
{
    if (m_done)
        return;
    // Sent inside the unit, so the other workstations hear of it exactly when it commits.
    if (m_depth == 0)
        m_db.announce(m_db.m_units.back().tables);
    m_db.exec(m_depth == 0 ? QStringLiteral("COMMIT")
                           : QStringLiteral("RELEASE unit%1").arg(m_depth));
    m_done = true;
    m_db.endUnit(true);
}

Database::Transaction::~Transaction()
{
    if (m_done)
        return;
    QSqlQuery query(m_db.connection());
    if (m_depth == 0) {
        query.exec(QStringLiteral("ROLLBACK"));
    } else {
        query.exec(QStringLiteral("ROLLBACK TO unit%1").arg(m_depth));
        query.exec(QStringLiteral("RELEASE unit%1").arg(m_depth));
    }
    m_db.endUnit(false);
}
