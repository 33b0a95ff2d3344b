#include "store/database.h"

#include "store/cursor.h"
#include "store/schema.h"
#include "store/storeerror.h"
#include "store/tables.h"
#include "store/textformat.h"

#include <QDir>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QUuid>
#include <sqlite3.h>

namespace {

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

Database::Database(const QString &dataDir, QObject *parent)
    : Database(dataDir, Seed(), parent)
{ }

Database::Database(const QString &dataDir, const Seed &seed, QObject *parent)
    : QObject(parent)
    , m_dataDir(QDir::cleanPath(dataDir) + QLatin1Char('/'))
    , m_connectionName(QStringLiteral("pelmora-") +
                       QUuid::createUuid().toString(QUuid::WithoutBraces))
{
    if (!QDir().mkpath(m_dataDir))
        throw StoreError(QStringLiteral("Az adatkönyvtár nem hozható létre: %1").arg(m_dataDir));
    const QString path = m_dataDir + QLatin1String(fileName);
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connectionName);
    db.setDatabaseName(path);
    if (!db.open()) {
        const QString error = db.lastError().text();
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(m_connectionName);
        throw StoreError(QStringLiteral("Az adatbázis nem nyitható meg (%1): %2").arg(path, error));
    }
    try {
        open(seed);
    } catch (...) {
        // The destructor does not run for a constructor that throws.
        db.close();
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(m_connectionName);
        throw;
    }
}

void Database::open(const Seed &seed)
{
    registerFunctions();
    exec(QStringLiteral("PRAGMA foreign_keys = OFF"));
    exec(QStringLiteral("PRAGMA journal_mode = WAL"));
    exec(QStringLiteral("PRAGMA synchronous = NORMAL"));
    exec(QStringLiteral("PRAGMA mmap_size = 1073741824"));
    // Decided by what the file holds, not by whether it was there: a first start killed before
    // its commit leaves a file without tables, and the next start makes the register again.
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
        emit changed(table);
        return;
    }
    QStringList &touched = m_units.back().tables;
    if (!touched.contains(table))
        touched << table;
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
    QSqlQuery query(connection());
    if (!query.exec(sql))
        throw StoreError(databaseError(query.lastError()));
}

QSqlQuery Database::query(const QString &sql, const QVariantList &binds)
{
    QSqlQuery query(connection());
    query.setForwardOnly(true);
    if (!query.prepare(sql))
        throw StoreError(databaseError(query.lastError()));
    for (const QVariant &bind : binds)
        query.addBindValue(bind);
    if (!query.exec())
        throw StoreError(databaseError(query.lastError()));
    return query;
}

void Database::registerFunctions()
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
    m_db.exec(m_depth == 0 ? QStringLiteral("BEGIN IMMEDIATE")
                           : QStringLiteral("SAVEPOINT unit%1").arg(m_depth));
    m_db.m_units.emplace_back();
}

void Database::Transaction::commit()
{
    if (m_done)
        return;
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
