#include "database.h"

#include "storeerror.h"
#include "tables.h"
#include "textformat.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QUuid>
#include <sqlite3.h>

namespace {

QString columnType(FieldKind kind)
{
    switch (kind) {
    case FieldKind::Text:
    case FieldKind::Memo:
    case FieldKind::DateTime:
        return QStringLiteral("TEXT");
    case FieldKind::Float:
        return QStringLiteral("REAL");
    case FieldKind::Int16:
    case FieldKind::Int32:
    case FieldKind::Boolean:
    case FieldKind::AutoInc:
        break;
    }
    return QStringLiteral("INTEGER");
}

QString quoted(const QString &name)
{
    return QLatin1Char('"') + name + QLatin1Char('"');
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

// A table made by an earlier program lacks the columns added since (working storage gains them
// now and then); they are added empty, and the rows it holds stay.
void addMissingColumns(Database &db, const TableDef &table)
{
    const QSqlRecord present = db.connection().record(table.name);
    const auto add = [&](const QString &column, FieldKind kind) {
        if (present.indexOf(column) < 0)
            db.exec(QStringLiteral("ALTER TABLE %1 ADD COLUMN %2 %3")
                        .arg(quoted(table.name), quoted(column), columnType(kind)));
    };
    for (const FieldDef &field : table.fields) {
        if (field.kind == FieldKind::AutoInc)
            continue;
        add(field.name, field.kind);
        if (field.folded) {
            add(TableDef::foldedColumn(field.name), FieldKind::Text);
            add(TableDef::sortColumn(field.name), FieldKind::Text);
        }
    }
}

} // namespace

Database::Database(const QString &dataDir, QObject *parent)
    : QObject(parent)
    , m_dataDir(QDir::cleanPath(dataDir) + QLatin1Char('/'))
    , m_connectionName(QStringLiteral("pelmora-") +
                       QUuid::createUuid().toString(QUuid::WithoutBraces))
{
    if (!QDir().mkpath(m_dataDir))
        throw StoreError(QStringLiteral("Az adatkönyvtár nem hozható létre: %1").arg(m_dataDir));
    const QString path = m_dataDir + QLatin1String(fileName);
    m_createdNow = !QFileInfo::exists(path);

    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connectionName);
    db.setDatabaseName(path);
    if (!db.open()) {
        const QString error = db.lastError().text();
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(m_connectionName);
        throw StoreError(QStringLiteral("Az adatbázis nem nyitható meg (%1): %2").arg(path, error));
    }
    registerFunctions();
    exec(QStringLiteral("PRAGMA foreign_keys = OFF"));
    exec(QStringLiteral("PRAGMA journal_mode = WAL"));
    exec(QStringLiteral("PRAGMA synchronous = NORMAL"));
    exec(QStringLiteral("PRAGMA mmap_size = 1073741824"));
    createMissingTables();
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
    emit changed(table);
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

// A register made by an earlier program lacks the tables added since; they are made empty on
// open, so every table of the list can be relied on afterwards.
void Database::createMissingTables()
{
    QSet<QString> present;
    {
        QSqlQuery query(connection());
        if (!query.exec(QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table'")))
            throw StoreError(databaseError(query.lastError()));
        while (query.next())
            present.insert(query.value(0).toString().toLower());
    }
    Transaction transaction(*this);
    for (const TableDef &table : tables::all()) {
        if (present.contains(table.name.toLower())) {
            addMissingColumns(*this, table);
            continue;
        }
        QStringList columns;
        for (const FieldDef &field : table.fields) {
            if (field.kind == FieldKind::AutoInc) {
                columns << quoted(field.name) +
                        QStringLiteral(" INTEGER PRIMARY KEY AUTOINCREMENT");
                continue;
            }
            columns << quoted(field.name) + QLatin1Char(' ') + columnType(field.kind);
            if (field.folded) {
                columns << quoted(TableDef::foldedColumn(field.name)) + QStringLiteral(" TEXT");
                columns << quoted(TableDef::sortColumn(field.name)) + QStringLiteral(" TEXT");
            }
        }
        exec(QStringLiteral("CREATE TABLE %1 (%2)")
                 .arg(quoted(table.name), columns.join(QStringLiteral(", "))));
        for (const QStringList &columns : table.filterIndexes) {
            QStringList quotedColumns;
            for (const QString &column : columns)
                quotedColumns << quoted(column);
            exec(QStringLiteral("CREATE INDEX %1 ON %2 (%3)")
                     .arg(quoted(table.name + QLatin1Char('_') + columns.join(QLatin1Char('_'))),
                          quoted(table.name), quotedColumns.join(QStringLiteral(", "))));
        }
        for (const IndexDef &index : table.indexes) {
            const FieldDef &field = table.fields[table.fieldIndex(index.field)];
            QStringList columns {
                quoted(field.folded ? TableDef::sortColumn(field.name) : field.name)};
            for (const QString &column : index.covers)
                columns << quoted(column);
            exec(QStringLiteral("CREATE INDEX %1 ON %2 (%3)")
                     .arg(quoted(table.name + QLatin1Char('_') + index.name), quoted(table.name),
                          columns.join(QStringLiteral(", "))));
        }
    }
    transaction.commit();
}

Database::Transaction::Transaction(Database &db)
    : m_db(db)
    , m_depth(db.m_transactionDepth)
{
    m_db.exec(m_depth == 0 ? QStringLiteral("BEGIN IMMEDIATE")
                           : QStringLiteral("SAVEPOINT unit%1").arg(m_depth));
    ++m_db.m_transactionDepth;
}

void Database::Transaction::commit()
{
    if (m_done)
        return;
    m_db.exec(m_depth == 0 ? QStringLiteral("COMMIT")
                           : QStringLiteral("RELEASE unit%1").arg(m_depth));
    m_done = true;
    --m_db.m_transactionDepth;
}

Database::Transaction::~Transaction()
{
    if (m_done)
        return;
    --m_db.m_transactionDepth;
    QSqlQuery query(m_db.connection());
    if (m_depth == 0) {
        query.exec(QStringLiteral("ROLLBACK"));
    } else {
        query.exec(QStringLiteral("ROLLBACK TO unit%1").arg(m_depth));
        query.exec(QStringLiteral("RELEASE unit%1").arg(m_depth));
    }
    // What the cursors had read may be gone now.
    for (const TableDef &table : tables::all())
        m_db.tableChanged(table.name);
}
