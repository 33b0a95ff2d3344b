#include "store/migration.h"

#include "store/database.h"
#include "store/datadirectory.h"
#include "store/photostore.h"
#include "store/schema.h"
#include "store/selection.h"
#include "store/storeerror.h"
#include "store/tables.h"

#include <QFile>
#include <QSet>
#include <QSqlQuery>
#include <QVariant>
#include <algorithm>

using namespace Qt::StringLiterals;

namespace migration {
namespace {

// A stop asked for between two batches: the unit rolls back as for any failure.
struct Stopped
{ };

// The workstation's own scratch rows and the embedded register's owed file moves mean nothing
// on the server.
bool copied(const TableDef &table)
{
    return table.name != tables::dtulaj && table.name != tables::kepcsere;
}

// What an office's register is made of; the reference rows a new server database starts with
// (settings, settlements, types) give way to this register's own.
const QStringList registerTables = {tables::egyszeru,   tables::reszletes,   tables::tulajdonos,
                                    tables::archiv,     tables::archivtulaj, tables::erdeklodok,
                                    tables::erdeklodes, tables::hirek,       tables::naplo};

qint64 scalar(Database &db, const QString &sql, const QVariantList &binds = {})
{
    QSqlQuery query = db.query(sql, binds);
    return query.next() ? query.value(0).toLongLong() : 0;
}

QString quoted(const QString &name)
{
    return Selection::quoted(name);
}

void refuseHeldRegister(Database &server)
{
    QStringList holding;
    for (const QString &table : registerTables) {
        if (scalar(server, u"SELECT COUNT(*) FROM %1"_s.arg(quoted(table))) > 0)
            holding << table;
    }
    if (scalar(server, u"SELECT COUNT(*) FROM %1"_s.arg(tables::kepadat)) > 0)
        holding << tables::kepadat;
    if (!holding.isEmpty())
        throw StoreError(
            u"A szerver adatbázisában már van nyilvántartás (%1), ezért az adatok "
            "nem költöztethetők oda. Válasszon üres adatbázist."_s.arg(holding.join(u", "_s)));
}

class Copier
{
public:
    Copier(Database &local, Database &server, const Progress &progress)
        : m_local(local)
        , m_server(server)
        , m_progress(progress)
    { }

    Result run();

private:
    void lockTables();
    void copyTable(const TableDef &table);
    void insertBatch(const TableDef &table, const QString &head, int columns,
                     const QVariantList &values, int rows);
    void continueSequence(const TableDef &table);
    QStringList namedPhotos();
    void copyPhotos(const QStringList &names);
    void check();
    void advance(qint64 step);

    Database &m_local;
    Database &m_server;
    const Progress &m_progress;
    Result m_result;
    QMap<QString, QString> m_digests;
    qint64 m_done = 0;
    qint64 m_total = 0;
    // SQLite keeps the numbers it gave only once a table with AUTOINCREMENT has had a row.
    bool m_hasSequence = false;
};

void Copier::lockTables()
{
    QStringList names;
    for (const TableDef &table : tables::all()) {
        if (copied(table))
            names << quoted(table.name);
    }
    names << tables::kepadat;
    // No other workstation writes while the register is moved in, and none sees it half moved.
    m_server.exec(u"LOCK TABLE %1 IN EXCLUSIVE MODE"_s.arg(names.join(u", "_s)));
}

void Copier::advance(qint64 step)
{
    m_done += step;
    if (m_progress && !m_progress(m_done, m_total))
        throw Stopped {};
}

void Copier::insertBatch(const TableDef &table, const QString &head, int columns,
                         const QVariantList &values, int rows)
{
    const QString row = u"("_s + QStringList(columns, u"?"_s).join(QLatin1Char(',')) + u")"_s;
    m_server.query(head + QStringList(rows, row).join(QLatin1Char(',')), values);
    m_result.rows[table.name] += rows;
    advance(rows);
}

void Copier::copyTable(const TableDef &table)
{
    const QStringList columns = schema::storedColumns(table);
    QStringList names;
    for (const QString &column : columns)
        names << quoted(column);
    QSqlQuery rows = m_local.query(
        u"SELECT rowid, %1 FROM %2 ORDER BY rowid"_s.arg(names.join(u", "_s), quoted(table.name)));
    const QString head =
        u"INSERT INTO %1 (rowid, %2) VALUES "_s.arg(quoted(table.name), names.join(u", "_s));
    const int width = int(columns.size()) + 1;
    // As many rows a statement as keep it well inside the server's limit of bound values.
    const int perBatch = std::max(1, 20000 / width);
    QVariantList values;
    int pending = 0;
    m_result.rows[table.name] = 0;
    while (rows.next()) {
        for (int i = 0; i < width; ++i)
            values << rows.value(i);
        if (++pending == perBatch) {
            insertBatch(table, head, width, values, pending);
            values.clear();
            pending = 0;
        }
    }
    if (pending > 0)
        insertBatch(table, head, width, values, pending);
    continueSequence(table);
}

// Record numbers go on after the highest the register ever gave, not after the highest it
// still holds: a number is never given twice, and photo names stay the property's.
void Copier::continueSequence(const TableDef &table)
{
    qint64 highest =
        scalar(m_local, u"SELECT COALESCE(MAX(rowid), 0) FROM %1"_s.arg(quoted(table.name)));
    if (m_hasSequence)
        highest = std::max(highest,
                           scalar(m_local,
                                  u"SELECT COALESCE(MAX(seq), 0) FROM "
                                  "sqlite_sequence WHERE name = ?"_s,
                                  {table.name}));
    if (highest > 0)
        m_server.query(u"SELECT setval(pg_get_serial_sequence(?, 'rowid'), ?, true)"_s,
                       {quoted(table.name), highest});
}

QStringList Copier::namedPhotos()
{
    QSet<QString> seen;
    QStringList names;
    for (const QString &table : {tables::egyszeru, tables::archiv}) {
        QSqlQuery query = m_local.query(
            u"SELECT \"Kep1\", \"Kep2\", \"Kep3\", \"Kep4\" FROM %1 ORDER BY rowid"_s.arg(table));
        while (query.next()) {
            for (int slot = 0; slot < 4; ++slot) {
                const QString name = query.value(slot).toString();
                if (!name.isEmpty() && !seen.contains(name)) {
                    seen.insert(name);
                    names << name;
                }
            }
        }
    }
    return names;
}

void Copier::copyPhotos(const QStringList &names)
{
    const QString images = datadirectory::imagesDir(m_local.dataDir());
    for (const QString &name : names) {
        QFile file(images + name);
        if (!file.exists()) {
            m_result.missingPhotos << name;
        } else {
            if (!file.open(QIODevice::ReadOnly))
                throw StoreError(u"A(z) \"%1\" kép nem olvasható: %2"_s.arg(file.fileName(),
                                                                            file.errorString()));
            const QByteArray bytes = file.readAll();
            photostore::put(m_server, name, bytes);
            m_digests.insert(name, photostore::digestOf(bytes));
        }
        advance(1);
    }
}

// What the server holds now, read back by the server itself, must be what was read here.
void Copier::check()
{
    for (auto it = m_result.rows.cbegin(); it != m_result.rows.cend(); ++it) {
        const qint64 there = scalar(m_server, u"SELECT COUNT(*) FROM %1"_s.arg(quoted(it.key())));
        const qint64 here = scalar(m_local, u"SELECT COUNT(*) FROM %1"_s.arg(quoted(it.key())));
        if (there != it.value() || here != it.value())
            throw StoreError(u"Az átköltöztetés ellenőrzése nem egyezik: a(z) %1 táblában itt %2, "
                             "a szerveren %3 sor van."_s.arg(it.key())
                                 .arg(here)
                                 .arg(there));
    }
    QMap<QString, QString> stored;
    QSqlQuery query = m_server.query(
        u"SELECT \"Kep\", encode(sha256(\"Adat\"), 'hex') FROM %1"_s.arg(tables::kepadat));
    while (query.next())
        stored.insert(query.value(0).toString(), query.value(1).toString());
    if (stored != m_digests)
        throw StoreError(u"Az átköltöztetés ellenőrzése nem egyezik: a szerveren lévő képek "
                         "nem azonosak a gépen lévőkkel."_s);
    m_result.photos = int(m_digests.size());
}

Result Copier::run()
{
    const QStringList photos = namedPhotos();
    m_hasSequence =
        scalar(m_local, u"SELECT COUNT(*) FROM sqlite_master WHERE name = 'sqlite_sequence'"_s) > 0;
    m_total = photos.size();
    for (const TableDef &table : tables::all()) {
        if (copied(table))
            m_total += scalar(m_local, u"SELECT COUNT(*) FROM %1"_s.arg(quoted(table.name)));
    }
    Database::Transaction unit(m_server);
    lockTables();
    refuseHeldRegister(m_server);
    for (const TableDef &table : tables::all()) {
        if (!copied(table))
            continue;
        m_server.exec(u"DELETE FROM %1"_s.arg(quoted(table.name)));
        copyTable(table);
    }
    copyPhotos(photos);
    check();
    unit.commit();
    return m_result;
}

} // namespace

Result toServer(Database &local, Database &server, const Progress &progress)
{
    if (local.isServer() || !server.isServer())
        throw StoreError(u"Az adatok csak a beépített adatbázisból költöztethetők szerverre."_s);
    Copier copier(local, server, progress);
    try {
        return copier.run();
    } catch (const Stopped &) {
        Result stopped;
        stopped.stopped = true;
        return stopped;
    }
}

} // namespace migration
